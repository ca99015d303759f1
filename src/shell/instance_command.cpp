#include "shell/instance_command.h"

#include <string_view>

#include "base/text.h"

namespace vantor {
namespace {

// Below 32 bits and far from small numbers, so that no window procedure that knows nothing of
// the notice (answering 0, 1 or a handle) passes for a running Vantor.
constexpr std::int64_t kAnswerRunning = 0x56544E30;
constexpr std::int64_t kAnswerDisabled = 0x56544E31;

}  // namespace

std::optional<InstanceCommand> InstanceCommandOf(const std::vector<std::string>& arguments) {
    if (arguments.size() != 2) return std::nullopt;
    std::string_view word = arguments[1];
    if (!word.empty() && (word.front() == '/' || word.front() == '-')) word.remove_prefix(1);
    const std::string lower = LowerCase1251(word);
    if (lower == "disable") return InstanceCommand::kDisable;
    if (lower == "enable") return InstanceCommand::kEnable;
    if (lower == "exit") return InstanceCommand::kExit;
    if (lower == "status") return InstanceCommand::kStatus;
    return std::nullopt;
}

std::optional<InstanceCommand> InstanceCommandFromCode(std::uint64_t wParam) {
    if (wParam > static_cast<std::uint64_t>(InstanceCommand::kStatus)) return std::nullopt;
    return static_cast<InstanceCommand>(wParam);
}

std::int64_t InstanceAnswer(bool disabled) {
    return disabled ? kAnswerDisabled : kAnswerRunning;
}

bool IsInstanceAnswer(std::int64_t answer) {
    return answer == kAnswerRunning || answer == kAnswerDisabled;
}

int CommandExitCode(InstanceCommand command, std::optional<std::int64_t> answer, bool ended) {
    if (!answer || !IsInstanceAnswer(*answer)) return kExitNotDone;
    if (command == InstanceCommand::kExit) return ended ? kExitDone : kExitNotDone;
    if (command == InstanceCommand::kStatus && *answer == kAnswerDisabled) return kExitDisabled;
    return kExitDone;
}

}  // namespace vantor

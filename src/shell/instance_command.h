// Steering a running Vantor from a script: a start whose only word is "disable", "enable",
// "exit" or "status" starts no instance; it hands the word to the running one as a plain
// code in wParam of the second-start notice, waits for its answer and ends with an exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// wParam of the notice. 0 is the plain second start (reload the lists, show the window).
enum class InstanceCommand : std::uint32_t { kNotice = 0, kDisable, kEnable, kExit, kStatus };

// The command of a start whose arguments are the program path and one of the words (any
// case, with or without a leading "/" or "-"); nothing for any other command line.
std::optional<InstanceCommand> InstanceCommandOf(const std::vector<std::string>& arguments);

// A received wParam: a known code, or nothing (ignored; anyone may send the notice).
std::optional<InstanceCommand> InstanceCommandFromCode(std::uint64_t wParam);

// The running instance's answer to a word, and whether an answer is one.
std::int64_t InstanceAnswer(bool disabled);
bool IsInstanceAnswer(std::int64_t answer);

// Exit codes of the steering start.
inline constexpr int kExitDone = 0;       // done; "status": running
inline constexpr int kExitNotDone = 1;    // no Vantor runs (or it did not answer, or end, in time)
inline constexpr int kExitDisabled = 3;   // "status": running and disabled

// `answer`: none when no running instance answered within the bound; `ended`: for "exit",
// whether it ended within its bound.
int CommandExitCode(InstanceCommand command, std::optional<std::int64_t> answer, bool ended);

}  // namespace vantor

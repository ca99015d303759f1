// Command-line splitting and option words on arbitrary bytes: never crash, never produce an
// empty argument, and keep every setting within its allowed range.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/command_line.h"
#include "shell/instance_command.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> arguments = vantor::SplitCommandLine(line);
    const bool hasQuote = line.find('"') != std::string_view::npos;
    std::size_t total = 0;
    for (const std::string& argument : arguments) {
        Check(!argument.empty());
        total += argument.size();
        if (!hasQuote)
            for (const char c : argument) Check(static_cast<unsigned char>(c) > 32);
    }
    Check(total <= line.size());
    // A script word steers the running instance only when it stands alone.
    if (vantor::InstanceCommandOf(arguments)) Check(arguments.size() == 2);

    vantor::MainSettings settings;
    vantor::ApplyCommandLine(arguments, settings);
    Check(settings.MessageTime >= 1);
    Check(settings.ScannerPeriod >= 1 && settings.ScannerPeriod <= vantor::kMaxScannerPeriod);
    Check(settings.MessageTransparent == 222 ||
          (settings.MessageTransparent >= 100 && settings.MessageTransparent <= 255));
    return 0;
}

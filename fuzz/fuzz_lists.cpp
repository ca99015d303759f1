// Arbitrary bytes as list files, class names, texts and masks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "lists/list_files.h"
#include "lists/pattern.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> file(bytes);

    const struct {
        ListKind kind;
        const char* path;
    } rules[] = {{ListKind::Main, "C:\\V\\Main.ini"},
                 {ListKind::Black, "C:\\V\\Black.ini"},
                 {ListKind::White, "C:\\V\\White.ini"},
                 {ListKind::Replace, "C:\\V\\Replace.ini"}};
    for (const auto& r : rules) {
        const ListEntries list = LoadRuleList(r.kind, r.path, file);
        for (const std::string& entry : list) {
            Check(entry.find('\t') == std::string::npos);
            // No rule acts on every window, whatever the file holds.
            if (r.kind == ListKind::Main) Check(!NamesNoWindow(entry));
        }
        (void)ListContainsText(list, bytes.substr(0, 256));
        (void)FindReplacement(list, bytes.substr(0, 256));
    }

    const ListEntries classes = LoadClassList("C:\\V\\Edit.ini", file);
    for (std::size_t i = 1; i < classes.size(); ++i) Check(!(classes[i] < classes[i - 1]));
    // Every stored class must be found again, whatever bytes it holds.
    for (const std::string& name : classes) Check(ClassListContains(classes, name));
    (void)ClassListContains(classes, bytes.substr(0, 64));

    // Split at the first NUL, or in the middle: text before, mask after.
    std::size_t cut = bytes.find('\0');
    if (cut == std::string::npos) cut = size / 2;
    const std::string_view text = std::string_view(bytes).substr(0, cut);
    const std::string_view mask = std::string_view(bytes).substr(cut < size ? cut + 1 : cut);
    const bool matched = WildcardMatch(text, mask);
    if (text.empty()) Check(!matched);
    if (mask == "*") Check(matched == !text.empty());
    (void)MatchesPattern(text, mask);
    return 0;
}

// Arbitrary bytes as advanced-list rules and as the children of a window they are matched on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "lists/pattern.h"
#include "ui/spy.h"
#include "watcher/advanced_list.h"
#include "watcher/window_readings.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Within(const vantor::ChildRecord* found, const std::vector<vantor::ChildRecord>& children) {
    return found >= children.data() && found < children.data() + children.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Rules before the first NUL, the window and its children after it: one per line,
    // class "=" text, the window first.
    const std::size_t cut = bytes.find('\0');
    const std::string_view ruleBytes = bytes.substr(0, cut);
    const std::string_view windowBytes =
        cut == std::string_view::npos ? std::string_view() : bytes.substr(cut + 1);

    std::vector<ChildRecord> children;
    std::size_t pos = 0;
    while (pos <= windowBytes.size() && children.size() < 64) {
        const std::size_t end = std::min(windowBytes.find('\n', pos), windowBytes.size());
        const std::string_view line = windowBytes.substr(pos, end - pos);
        const std::size_t eq = line.find('=');
        children.push_back(
            {children.size() + 1, std::string(line.substr(0, eq)),
             eq == std::string_view::npos ? std::string() : std::string(line.substr(eq + 1))});
        pos = end + 1;
    }
    const ChildRecord window = children.front();
    children.erase(children.begin());
    (void)IsInputClass(window.cls);
    // The spy's text form holds every record, one line each.
    ChildListing listing{children, false};
    const std::string text = ListingText(listing);
    Check(text.size() >= 3 * children.size());

    // Raw lines, whatever a loader would have skipped: the matching must hold on its own.
    for (std::size_t at = 0; at <= ruleBytes.size();) {
        const std::size_t end = std::min(ruleBytes.find('\n', at), ruleBytes.size());
        const AdvancedRule rule = SplitAdvancedRule(ruleBytes.substr(at, end - at));
        at = end + 1;
        const bool named = MatchesMainWindow(rule, window.cls, window.text);
        // A rule without a window class and caption names no window at all.
        if (IsBlank(rule.mainClass) && IsBlank(rule.mainText)) Check(!named);
        if (!rule.mainClassBlank && named) Check(SameTextNoCase(rule.mainClass, window.cls));
        if (const ChildRecord* child = FindRuleChild(rule, children)) {
            Check(Within(child, children));
            Check(rule.childClassBlank || SameTextNoCase(rule.childClass, child->cls));
        }
        if (const ChildRecord* target = FindRuleTarget(rule, children)) {
            Check(Within(target, children));
            Check(!rule.buttonClass.empty() && SameTextNoCase(rule.buttonClass, target->cls));
            Check(MatchesPattern(target->text, rule.buttonText));
        }
    }
    return 0;
}

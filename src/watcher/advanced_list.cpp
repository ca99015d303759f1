#include "watcher/advanced_list.h"

#include "base/text.h"
#include "lists/pattern.h"
#include "watcher/probes.h"

namespace vantor {
namespace {

// Splits at the first "=": (before, after) when there is one.
bool SplitAtEquals(std::string_view field, std::string& before, std::string& after) {
    const auto eq = field.find('=');
    if (eq == std::string_view::npos) return false;
    before = std::string(field.substr(0, eq));
    after = std::string(field.substr(eq + 1));
    return true;
}

}  // namespace

AdvancedRule SplitAdvancedRule(std::string_view line) {
    AdvancedRule r;
    const auto bar1 = line.find('|');
    const auto bar2 = bar1 == std::string_view::npos ? bar1 : line.find('|', bar1 + 1);
    const std::string_view field1 = line.substr(0, bar1);
    std::string_view field2;
    std::string_view field3;
    if (bar2 != std::string_view::npos) {
        r.hasSecondBar = true;
        field2 = line.substr(bar1 + 1, bar2 - bar1 - 1);
        field3 = line.substr(bar2 + 1);
    } else if (bar1 != std::string_view::npos) {
        field3 = line.substr(bar1 + 1);
    }
    if (!SplitAtEquals(field1, r.mainClass, r.mainText)) r.mainClass = std::string(field1);
    if (!SplitAtEquals(field2, r.childClass, r.childText)) r.childText = std::string(field2);
    if (!SplitAtEquals(field3, r.buttonClass, r.buttonText)) r.buttonText = std::string(field3);
    const auto space = r.buttonClass.find(' ');
    if (space != std::string::npos) {
        r.command = LowerCase1251(std::string_view(r.buttonClass).substr(0, space));
        r.buttonClass.erase(0, space + 1);
    }
    r.mainClassBlank = IsBlank(r.mainClass);
    r.mainTextBlank = IsBlank(r.mainText);
    r.childClassBlank = IsBlank(r.childClass);
    r.childTextBlank = IsBlank(r.childText);
    r.buttonClassBlank = IsBlank(r.buttonClass);
    r.buttonTextBlank = IsBlank(r.buttonText);
    return r;
}

std::vector<ListingLine> SplitListing(std::string_view listing) {
    std::vector<ListingLine> lines;
    std::size_t pos = 0;
    for (;;) {
        const auto end = listing.find("\r\n", pos);
        if (end == std::string_view::npos) break;
        const std::string_view line = listing.substr(pos, end - pos);
        pos = end + 2;
        ListingLine l;
        const auto eq1 = line.find('=');
        l.cls = line.substr(0, eq1);
        if (eq1 != std::string_view::npos) {
            const std::string_view rest = line.substr(eq1 + 1);
            const auto eq2 = rest.find('=');
            l.text = rest.substr(0, eq2);
            if (eq2 != std::string_view::npos) l.handle = rest.substr(eq2 + 1);
        }
        lines.push_back(l);
    }
    return lines;
}

AdvancedList::AdvancedList(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
                           const SharedRunTexts& texts)
    : ws_(ws), lists_(lists), sink_(sink), texts_(texts) {}

void AdvancedList::Reset() {
    lastUnmatchedForeground_ = 0;
    lastToggledButton_ = 0;
}

const std::vector<AdvancedRule>& AdvancedList::Rules() {
    ListSnapshot current = lists_.Snapshot(ListKind::Main);
    if (current != rulesSource_) {
        rules_.clear();
        if (current) {
            rules_.reserve(current->size());
            for (const auto& line : *current) rules_.push_back(SplitAdvancedRule(line));
        }
        rulesSource_ = std::move(current);
    }
    return rules_;
}

void AdvancedList::AdvancedListTick() {
    const WindowHandle fg = ws_.ForegroundWindow();
    if (fg == lastUnmatchedForeground_) return;
    const std::string cls = WindowClassName(ws_, fg);
    const std::string caption = WindowCaption(ws_, fg);
    std::string listing;
    std::vector<ListingLine> lines;
    bool ruleMatched = false;
    bool actionDone = false;

    const std::vector<AdvancedRule>& rules = Rules();
    // The rule nearest the end of the file wins.
    for (auto it = rules.rbegin(); it != rules.rend(); ++it) {
        const AdvancedRule& rule = *it;
        if (!rule.mainClassBlank && !SameTextNoCase(rule.mainClass, cls)) continue;
        if (!rule.mainTextBlank && !MatchesPattern(caption, rule.mainText)) continue;

        if (!ruleMatched) {
            listing = ChildWindowList(ws_, fg, fg, true);
            lines = SplitListing(listing);
            ruleMatched = true;
        }
        if (!rule.hasSecondBar && ws_.IsVisible(fg)) {
            // A rule of one or two fields closes the window at once.
            ws_.SysCommand(fg, kScClose);
            ws_.Sleep(100);
            actionDone = true;
            sink_.ShowClosedMessage(0, caption, texts_.Get()->ssClosed);
        }
        if (rule.command.empty() && PosNoCase("sleep", rule.buttonText) == 1) {
            const std::string rest = TrimText(std::string_view(rule.buttonText).substr(5));
            // A negative wait would be an unsigned wait of weeks: it counts as none.
            const std::int32_t ms = rest.empty() ? 100 : ParseInt(rest);
            ws_.Sleep(ms > 0 ? static_cast<std::uint32_t>(ms) : 0);
            return;
        }
        if (ApplyRule(rule, fg, caption, lines, actionDone)) return;
    }
    if (!ruleMatched) lastUnmatchedForeground_ = fg;
}

bool AdvancedList::ApplyRule(const AdvancedRule& rule, WindowHandle fg, const std::string& caption,
                             const std::vector<ListingLine>& lines, bool& actionDone) {
    // The first line that matches the child field decides the window actions.
    const ListingLine* child = nullptr;
    for (const ListingLine& line : lines) {
        if ((rule.childClassBlank || SameTextNoCase(rule.childClass, line.cls)) &&
            (rule.childTextBlank || MatchesPattern(line.text, rule.childText))) {
            child = &line;
            break;
        }
    }
    if (!child) return false;

    const std::string action = rule.buttonClassBlank ? UpperCase1251(rule.buttonText) : "";
    if (action == "MAXIMIZE") {
        auto done = [&] { return (ws_.Style(fg) & kStyleMaximize) != 0 || ws_.IsIconic(fg); };
        if (done()) return true;
        ws_.Sleep(1000);
        if (done()) return true;
        ws_.SysCommand(fg, kScMaximize);
        return true;
    }
    if (action == "MINIMIZE") {
        if (ws_.IsIconic(fg)) return true;
        ws_.Sleep(50);
        if (ws_.IsIconic(fg)) return true;
        ws_.SysCommand(fg, kScMinimize);
        return true;
    }
    if (action == "HIDE") {
        ws_.Sleep(50);
        ws_.Show(fg, kSwHide);
        return true;
    }
    if (PosNoCase("close", rule.buttonText) > 0 ||
        (rule.childClassBlank && rule.childTextBlank && rule.buttonTextBlank)) {
        if (!ws_.IsVisible(fg)) return true;
        ws_.SysCommand(fg, kScClose);
        ws_.Sleep(100);
        if (ws_.IsVisible(fg)) ws_.SysCommand(fg, kScClose);
        sink_.ShowClosedMessage(0, caption, std::string(kClosedByRuleText));
        return true;
    }

    // The target is the first listed button that matches, before or after the child line;
    // a line whose handle does not read as a number names no target.
    if (rule.buttonClass.empty()) return false;
    WindowHandle target = 0;
    std::string_view targetText;
    for (const ListingLine& line : lines) {
        if (SameTextNoCase(rule.buttonClass, line.cls) &&
            MatchesPattern(line.text, rule.buttonText)) {
            target = HandleFromText(line.handle);
            if (target != 0) {
                targetText = line.text;
                break;
            }
        }
    }
    if (target == 0 || target == lastToggledButton_) return false;

    if (ApplyCommand(rule, target)) actionDone = true;
    if (actionDone) {
        const std::string_view childText = child->text;
        std::string body;
        if (!rule.buttonTextBlank) {
            body = texts_.Get()->ssPressedButton + " '" + std::string(targetText) + "'";
            if (!IsBlank(childText)) body += "\r\n\r\n" + UnescapeLineBreaks(childText);
        } else {
            body = IsBlank(childText) ? std::string(kNoChildText) : UnescapeLineBreaks(childText);
        }
        sink_.ShowClosedMessage(0, caption, body);
    }
    return true;
}

bool AdvancedList::ApplyCommand(const AdvancedRule& rule, WindowHandle target) {
    const std::string& command = rule.command;
    if (command.empty()) {
        // Repeated on every tick while the button is there; a click the program did not
        // take in time is not reported as pressed.
        const bool done = ws_.Click(target);
        ws_.Sleep(100);
        return done;
    }
    const bool known = command == "checking" || command == "unchecking" || command == "check" ||
                       command == "uncheck";
    if (!known) return false;
    const int state = ws_.GetCheck(target);
    bool done = false;
    if (command == "checking" && state == kUnchecked) {
        done = ws_.SetCheck(target, kChecked);
    } else if (command == "unchecking" && state == kChecked) {
        done = ws_.SetCheck(target, kUnchecked);
    } else if (command == "check" && state == kUnchecked) {
        done = ws_.Click(target);
    } else if (command == "uncheck" && state == kChecked) {
        done = ws_.Click(target);
    }
    // Acted on once, changed or not: not touched again until another button is toggled.
    lastToggledButton_ = target;
    return done;
}

}  // namespace vantor

#include "watcher/advanced_list.h"

#include "base/text.h"
#include "lists/pattern.h"
#include "watcher/window_readings.h"

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

bool MatchesMainWindow(const AdvancedRule& rule, std::string_view cls, std::string_view caption) {
    if (rule.mainClassBlank && rule.mainTextBlank) return false;
    if (!rule.mainClassBlank && !SameTextNoCase(rule.mainClass, cls)) return false;
    return rule.mainTextBlank || MatchesPattern(caption, rule.mainText);
}

const ChildRecord* FindRuleChild(const AdvancedRule& rule,
                                 const std::vector<ChildRecord>& children) {
    for (const ChildRecord& child : children) {
        if ((rule.childClassBlank || SameTextNoCase(rule.childClass, child.cls)) &&
            (rule.childTextBlank || MatchesPattern(child.text, rule.childText))) {
            return &child;
        }
    }
    return nullptr;
}

const ChildRecord* FindRuleTarget(const AdvancedRule& rule,
                                  const std::vector<ChildRecord>& children) {
    // An empty button class names no child.
    if (rule.buttonClass.empty()) return nullptr;
    for (const ChildRecord& child : children) {
        if (SameTextNoCase(rule.buttonClass, child.cls) &&
            MatchesPattern(child.text, rule.buttonText)) {
            return &child;
        }
    }
    return nullptr;
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
    ChildListing listing;
    bool ruleMatched = false;
    bool actionDone = false;

    const std::vector<AdvancedRule>& rules = Rules();
    // The rule nearest the end of the file wins.
    for (auto it = rules.rbegin(); it != rules.rend(); ++it) {
        const AdvancedRule& rule = *it;
        if (!MatchesMainWindow(rule, cls, caption)) continue;

        if (!ruleMatched) {
            listing = ListChildren(ws_, fg, fg);
            ruleMatched = true;
            processId_ = ws_.ProcessIdOf(fg);
        }
        if (!rule.hasSecondBar && ws_.IsVisible(fg)) {
            // A rule of one or two fields closes the window at once.
            ws_.SysCommand(fg, kScClose);
            const bool slept = ws_.Sleep(100);
            actionDone = true;
            Report(fg, caption, texts_.Get()->ssClosed);
            if (!slept) return;
        }
        if (rule.command.empty() && PosNoCase("sleep", rule.buttonText) == 1) {
            const std::string rest = TrimText(std::string_view(rule.buttonText).substr(5));
            // A negative wait would be an unsigned wait of weeks: it counts as none; a long
            // one holds every timer of the program, so it is cut to a minute.
            const std::int32_t ms = rest.empty() ? 100 : ParseInt(rest);
            const std::uint32_t wait = ms > 0 ? static_cast<std::uint32_t>(ms) : 0;
            ws_.Sleep(wait < kMaxRuleSleepMs ? wait : kMaxRuleSleepMs);
            return;
        }
        if (ApplyRule(rule, fg, caption, listing.children, actionDone)) return;
        // Not every child could be read in time: an earlier rule must not act in this one's
        // place. The next tick reads them again.
        if (listing.cutShort) return;
    }
    if (!ruleMatched) lastUnmatchedForeground_ = fg;
}

bool AdvancedList::ApplyRule(const AdvancedRule& rule, WindowHandle fg, const std::string& caption,
                             const std::vector<ChildRecord>& children, bool& actionDone) {
    // The first child that matches the child field decides the window actions.
    const ChildRecord* child = FindRuleChild(rule, children);
    if (!child) return false;

    const std::string action = rule.buttonClassBlank ? UpperCase1251(rule.buttonText) : "";
    if (action == "MAXIMIZE") {
        auto done = [&] { return (ws_.Style(fg) & kStyleMaximize) != 0 || ws_.IsIconic(fg); };
        if (done()) return true;
        if (!ws_.Sleep(1000) || done()) return true;
        if (ws_.SysCommand(fg, kScMaximize)) Report(fg, caption, action, false);
        return true;
    }
    if (action == "MINIMIZE") {
        if (ws_.IsIconic(fg)) return true;
        if (!ws_.Sleep(50) || ws_.IsIconic(fg)) return true;
        if (ws_.SysCommand(fg, kScMinimize)) Report(fg, caption, action, false);
        return true;
    }
    if (action == "HIDE") {
        if (ws_.Sleep(50) && ws_.Show(fg, kSwHide)) Report(fg, caption, action, false);
        return true;
    }
    if (PosNoCase("close", rule.buttonText) > 0 ||
        (rule.childClassBlank && rule.childTextBlank && rule.buttonTextBlank)) {
        if (!ws_.IsVisible(fg)) return true;
        ws_.SysCommand(fg, kScClose);
        if (ws_.Sleep(100) && ws_.IsVisible(fg)) ws_.SysCommand(fg, kScClose);
        Report(fg, caption, std::string(kClosedByRuleText));
        return true;
    }

    // The target is the first listed button that matches, before or after the child.
    const ChildRecord* target = FindRuleTarget(rule, children);
    if (!target || target->handle == lastToggledButton_) return false;
    // A child that is no longer inside the matched window (moved, or its handle now names
    // another program's window) is not pressed, and nothing is reported.
    if (!ws_.IsChild(fg, target->handle)) return true;

    if (ApplyCommand(rule, target->handle)) actionDone = true;
    if (actionDone) {
        const std::string_view childText = child->text;
        std::string body;
        if (!rule.buttonTextBlank) {
            body = texts_.Get()->ssPressedButton + " '" + target->text + "'";
            if (!IsBlank(childText)) body += "\r\n\r\n" + UnescapeLineBreaks(childText);
        } else {
            body = IsBlank(childText) ? std::string(kNoChildText) : UnescapeLineBreaks(childText);
        }
        Report(fg, caption, body);
    }
    return true;
}

void AdvancedList::Report(WindowHandle fg, const std::string& caption, const std::string& body,
                          bool show) {
    // Maximize, minimize and hide show nothing; they are recorded by their word.
    if (show) sink_.ShowMessage(0, caption, body);
    sink_.RecordAction({DoneAction::kRule, fg, processId_, caption, body});
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

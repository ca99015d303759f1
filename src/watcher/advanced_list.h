// The advanced list: user rules that name a foreground window (class and caption), a child
// control and a button or an action; at most one action per tick.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lang/text_table.h"
#include "lists/list_files.h"
#include "watcher/message_sink.h"
#include "watcher/window_readings.h"
#include "watcher/window_system.h"

namespace vantor {

// One line of the advanced list, split into its fields.
struct AdvancedRule {
    std::string mainClass;
    std::string mainText;
    std::string childClass;
    std::string childText;
    std::string buttonClass;    // after the command word was taken off
    std::string buttonText;     // the button's text or the action word
    std::string command;        // "checking", "unchecking", "check", "uncheck", other, or empty
    bool hasSecondBar = false;  // three fields; fewer close the window at once
    // Which fields are blank (no character above a space), worked out once.
    bool mainClassBlank = true;
    bool mainTextBlank = true;
    bool childClassBlank = true;
    bool childTextBlank = true;
    bool buttonClassBlank = true;
    bool buttonTextBlank = true;
};

AdvancedRule SplitAdvancedRule(std::string_view line);

// The longest wait a "sleep" rule asks for; more is cut to this.
inline constexpr std::uint32_t kMaxRuleSleepMs = 60000;

// Whether the rule names this window. A rule whose window class and caption are both blank
// would name every window: it names none.
bool MatchesMainWindow(const AdvancedRule& rule, std::string_view cls, std::string_view caption);
// The first child that the rule's child field names, and the first that its button field
// names (class and text); nullptr when none.
const ChildRecord* FindRuleChild(const AdvancedRule& rule,
                                 const std::vector<ChildRecord>& children);
const ChildRecord* FindRuleTarget(const AdvancedRule& rule,
                                  const std::vector<ChildRecord>& children);

class AdvancedList {
  public:
    AdvancedList(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
                 const SharedRunTexts& texts);

    void Reset();  // the main form's initialisation
    void AdvancedListTick();

    WindowHandle LastUnmatchedForeground() const { return lastUnmatchedForeground_; }
    WindowHandle LastToggledButton() const { return lastToggledButton_; }

  private:
    const std::vector<AdvancedRule>& Rules();
    // Walks the child listing for one matched rule; true when the tick ends here.
    bool ApplyRule(const AdvancedRule& rule, WindowHandle fg, const std::string& caption,
                   const std::vector<ChildRecord>& children, bool& actionDone);
    bool ApplyCommand(const AdvancedRule& rule, WindowHandle target);

    WindowSystem& ws_;
    const ProgramLists& lists_;
    MessageSink& sink_;
    const SharedRunTexts& texts_;
    // Touched only on the timer thread.
    WindowHandle lastUnmatchedForeground_ = 0;
    WindowHandle lastToggledButton_ = 0;
    // The foreground window's program in this tick, read before any action on the window.
    std::uint32_t processId_ = 0;
    // Shows what a rule did and records it in the history.
    void Report(WindowHandle fg, const std::string& caption, const std::string& body,
                bool show = true);
    // The rules split once per published list, not on every tick.
    ListSnapshot rulesSource_;
    std::vector<AdvancedRule> rules_;
};

}  // namespace vantor

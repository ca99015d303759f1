// Decides whether a top-level window is a message dialog to close, and closes it: caption
// replacement, No on Esc for Yes/No dialogs, OK on plain message boxes (logged and shown).
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lang/run_texts.h"
#include "lists/list_files.h"
#include "watcher/message_sink.h"
#include "watcher/window_system.h"

namespace vantor {

// Joins one more label text to the trimmed collected text: the trimmed concatenation of the
// collected text, CR LF CR LF and the label.
void AppendLabelText(std::string& collected, std::string_view label);

// What the walk over a window's direct children found.
struct DialogFindings {
    int buttons = 0;
    bool ok = false;
    bool no = false;
    bool yes = false;
    bool otherButton = false;
    bool edit = false;
    bool label = false;  // a static control, even an empty one
    WindowHandle okButton = 0;
    WindowHandle noButton = 0;
    std::string text;  // the label texts, trimmed, joined by an empty line; read only when
                       // the dialog may be a plain message
};

// Whether the children walked so far leave room for a plain message (with autoclose on) and
// for the No of a Yes/No dialog on Esc; when neither, the rest of the walk changes nothing.
bool MayBePlainMessage(const DialogFindings& f, bool autoclose);
bool MayBeYesNoOnEsc(const DialogFindings& f);

class DialogCloser {
  public:
    DialogCloser(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
                 const LiveOptions& options, const SharedRunTexts& texts);

    // The program's own message window, which is never examined.
    void SetOwnWindow(WindowHandle window) { ownWindow_.store(window); }
    // Back to the start state (the main form's initialisation).
    void Reset();

    void ExamineWindow(WindowHandle window, bool escPressed);
    // An early look, between the ticks, at a window that was just created or shown: what
    // ExamineWindow (window, false) does, except that a window it finds nothing to do with
    // (perhaps a dialog whose texts are not all set yet) leaves the last examined window as
    // it was, so the ticks that follow look at it as if there had been no early look.
    void LookEarly(WindowHandle window);

    WindowHandle LastExaminedWindow() const { return lastExaminedWindow_; }
    const std::string& LastReplacedCaption() const { return lastReplacedCaption_; }

  private:
    enum class Outcome {
        kSkipped,   // not analysed (own window, the last examined one, one closed a moment ago)
        kNothing,   // analysed: no message to act on
        kActed,     // clicked No or OK (taken or not), or kept a white-listed message open
    };
    Outcome Examine(WindowHandle window, bool escPressed);
    void ReplaceCaption(WindowHandle window, const std::string& caption,
                        const ListEntries& replace);
    DialogFindings WalkChildren(WindowHandle window, bool escPressed, bool autoclose);

    WindowSystem& ws_;
    const ProgramLists& lists_;
    MessageSink& sink_;
    const LiveOptions& options_;
    const SharedRunTexts& texts_;
    std::atomic<WindowHandle> ownWindow_{0};
    // Touched only on the timer thread.
    WindowHandle lastExaminedWindow_ = 0;
    std::string lastReplacedCaption_;
    // Messages that are in the log already, by window and text: a later analysis of the same
    // window and text only tries the click again; it neither logs nor shows the message again.
    struct Logged {
        WindowHandle window = 0;
        std::string text;
        bool seenHidden = false;  // closing_: a pass met it hidden since the click
    };
    // The latest messages whose OK click was not taken (in a burst on a busy machine, many).
    static constexpr std::size_t kMaxUnanswered = 128;
    std::vector<Logged> unanswered_;
    // The latest dialogs whose OK click was taken. Such a dialog hides at once but lives on
    // until its program's loop ends it, and a pass that meets it then must not take it for a
    // new message; one that stays visible (its program ignores the click) is not logged again
    // on every tick either, while one shown again after it was seen hidden, or showing a new
    // text, says something new. A burst (a batch job failing a hundred times) leaves that many
    // hidden on their way out at once, slowly under load: all of them are remembered.
    static constexpr std::size_t kMaxClosing = 128;
    std::vector<Logged> closing_;
    void MakeRoom(std::vector<Logged>& remembered);
};

}  // namespace vantor

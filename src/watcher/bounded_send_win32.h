// Messages to other threads' windows with a bounded wait, sent on the caller's own thread.
// Before a message goes out, a harmless WM_NULL with a short wait asks whether the window's
// thread is taking messages at all; only then is the message itself sent, with a wait of
// about a second (ended at once for a program the system deems hung). So a program that is
// busy or hung costs the short wait, not the long one, and a command is never left queued
// in a program that does not answer, to be carried out there later, unnoticed: only the
// WM_NULL can be. No helper thread is needed: SendMessageTimeout's wait holds under Wine too,
// except for an ANSI WM_GETTEXTLENGTH, which is sent in its wide form (see SendJob::Run).
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "watcher/answer_memo.h"

namespace vantor {

// One message to send, with the memory it points to.
struct SendJob {
    enum Kind { kPlain, kTextIn, kTextOut, kSelection };
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    Kind kind = kPlain;
    std::string textIn;           // kTextIn: the NUL-terminated text lParam points to
    std::vector<char> textOut;    // kTextOut: the buffer of wParam bytes lParam points to
    DWORD selStart = 0xFFFFFFFF;  // kSelection: EM_GETSEL's two out parameters
    DWORD selEnd = 0xFFFFFFFF;
    DWORD_PTR result = 0;
    bool answered = false;

    void Run(UINT timeoutMs);
};

// Safe to use from several threads at once.
class BoundedSender {
  public:
    // How long a message to another program's window may take before it counts as unanswered.
    static constexpr UINT kSendTimeoutMs = 1000;
    // How long the question "are you taking messages?" may take.
    static constexpr UINT kPingTimeoutMs = 100;

    // beforeSend runs on the caller's thread before each message (the window system forgets
    // its cached foreground window there: what we send may move it).
    explicit BoundedSender(void (*beforeSend)() = nullptr) : beforeSend_(beforeSend) {}
    BoundedSender(const BoundedSender&) = delete;
    BoundedSender& operator=(const BoundedSender&) = delete;

    // False when the window's thread is busy or hung, did not answer in time, or the window
    // is gone.
    bool Send(SendJob& job);
    // The thread has just answered a message sent some other way.
    void NoteAnswered(DWORD thread) { Note(thread, true); }

  private:
    bool Ready(HWND window, DWORD thread);
    void Note(DWORD thread, bool answered);

    void (*beforeSend_)();
    std::mutex memoMutex_;
    AnswerMemo memo_;
};

// A plain message; *result gets the answer.
bool SendBounded(BoundedSender& sender, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr);
// A message whose lParam points at a text of ours (WM_SETTEXT, EM_REPLACESEL), wParam 0.
bool SendTextBounded(BoundedSender& sender, HWND window, UINT message, std::string_view text);

}  // namespace vantor

// Messages to other threads' windows with a bounded wait, so that a hung program never
// stalls the caller: SendMessageTimeoutA (aborting at once for a hung program) runs on a
// helper thread that the caller waits for at most a little longer; a helper still stuck in
// a send after that is left to finish on its own (Wine does not end such a send while the
// other program pumps no messages at all).
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// One message to send, with the memory it points to owned here: a helper thread that is
// left behind in a send still writes only into this job, never into the caller's memory.
struct SendJob {
    enum Kind { kPlain, kTextIn, kTextOut, kSelection };
    HWND window = nullptr;
    DWORD thread = 0;  // the window's thread
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

    void Run();
};

struct SenderShared;
struct StuckThreads;

// Safe to use from several threads: sends to other threads go through the helper one at a
// time; a send to the caller's own thread is a plain call.
class BoundedSender {
  public:
    // How long a message to another program's window may take before it counts as unanswered.
    static constexpr unsigned kSendTimeoutMs = 1000;
    // A program whose thread has a helper stuck in a send gets no further messages until
    // that send returns (they count as unanswered at once). Beyond this many stuck helpers,
    // no message to another thread is sent at all.
    static constexpr std::size_t kMaxStuckSenders = 16;

    // beforeSend runs on the caller's thread before each send (the window system forgets
    // its cached foreground window there: what we send may move it).
    explicit BoundedSender(void (*beforeSend)() = nullptr);
    ~BoundedSender();
    BoundedSender(const BoundedSender&) = delete;
    BoundedSender& operator=(const BoundedSender&) = delete;

    // False when the window's thread did not answer in time, is hung, or the window is gone.
    bool Send(SendJob& job);

  private:
    bool HelperRetired();

    void (*beforeSend_)();
    std::mutex callers_;
    std::shared_ptr<SenderShared> shared_;
    HANDLE helper_ = nullptr;
    std::shared_ptr<StuckThreads> stuck_;
};

// A plain message; *result gets the answer.
bool SendBounded(BoundedSender& sender, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr);
// A message whose lParam points at a text of ours (WM_SETTEXT, EM_REPLACESEL), wParam 0.
bool SendTextBounded(BoundedSender& sender, HWND window, UINT message, std::string_view text);

}  // namespace vantor

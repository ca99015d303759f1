#include "watcher/dialog_closer.h"

#include <algorithm>
#include <optional>

#include "base/text.h"
#include "lists/pattern.h"
#include "watcher/window_readings.h"

namespace vantor {

void AppendLabelText(std::string& collected, std::string_view label) {
    // The collected text is always trimmed, so trimming "collected CR LF CR LF label" again
    // only trims the label's end (its start is inside): append in place rather than copy the
    // whole text for every label (a window with thousands of labels would cost quadratic time).
    const std::string_view trimmed = TrimmedView(label);
    if (trimmed.empty()) return;
    if (collected.empty()) {
        collected.assign(trimmed);
        return;
    }
    collected += "\r\n\r\n";
    collected += label.substr(0, static_cast<std::size_t>(trimmed.data() - label.data()) +
                                     trimmed.size());
}

DialogCloser::DialogCloser(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
                           const LiveOptions& options, const SharedRunTexts& texts)
    : ws_(ws), lists_(lists), sink_(sink), options_(options), texts_(texts) {}

void DialogCloser::Reset() {
    lastExaminedWindow_ = 0;
    lastReplacedCaption_.clear();
    unanswered_.clear();
    closing_.clear();
}

void DialogCloser::ReplaceCaption(WindowHandle window, const std::string& caption,
                                  const ListEntries& replace) {
    // Written once: while the caption equals the last replacement it is left alone.
    if (caption == lastReplacedCaption_) return;
    const Replacement r = FindReplacement(replace, caption);
    if (!r.found || r.text == caption) return;
    ws_.SetText(window, r.text);
    lastReplacedCaption_ = r.text;
}

void DialogCloser::MakeRoom(std::vector<Logged>& remembered) {
    // A window that still shows is the one a later pass would take for a new message: the
    // oldest entry whose window is hidden or gone makes room first.
    const auto gone = std::find_if(remembered.begin(), remembered.end(),
                                   [&](const Logged& l) { return !ws_.IsVisible(l.window); });
    remembered.erase(gone != remembered.end() ? gone : remembered.begin());
}

bool MayBePlainMessage(const DialogFindings& f, bool autoclose) {
    return autoclose && f.buttons <= 1 && !f.no && !f.otherButton && !f.edit;
}

bool MayBeYesNoOnEsc(const DialogFindings& f) {
    return !f.ok && !f.otherButton && !f.edit;
}

DialogFindings DialogCloser::WalkChildren(WindowHandle window, bool escPressed, bool autoclose) {
    const auto texts = texts_.Get();
    const std::string okWord = UpperCase1251(texts->ssOK);
    const std::string yesWord = UpperCase1251(texts->ssYes);
    const std::string noWord = UpperCase1251(texts->ssNo);
    const ListSnapshot buttons = lists_.Snapshot(ListKind::Button);
    const ListSnapshot statics = lists_.Snapshot(ListKind::Static);
    const ListSnapshot edits = lists_.Snapshot(ListKind::Edit);
    const ListEntries none;

    DialogFindings f;
    // Labels are read only once the dialog may still be a plain message after the walk.
    std::vector<WindowHandle> labels;
    constexpr int kMaxChildren = 65536;  // a window tree that changes under us cannot loop us
    int seen = 0;
    for (WindowHandle c = ws_.FirstChild(window); c != 0 && seen < kMaxChildren;
         c = ws_.NextSibling(c), ++seen) {
        const std::string cls = UpperCase1251(WindowClassName(ws_, c));
        if (IsListedClass(buttons ? *buttons : none, cls)) {
            const std::string upper = UpperCase1251(WindowCaption(ws_, c));
            ++f.buttons;
            if (upper == "OK" || upper == okWord) {
                f.ok = true;
                f.okButton = c;
            } else if (upper == "NO" || upper == noWord) {
                f.no = true;
                f.noButton = c;
                // A dialog with a No button is analysed again on every call.
                lastExaminedWindow_ = 0;
            } else if (upper == "YES" || upper == yesWord) {
                f.yes = true;
            } else {
                f.otherButton = true;
            }
        } else if (IsListedClass(edits ? *edits : none, cls) ||
                   (IsInputClass(cls) && ws_.IsVisible(c))) {
            // A field to fill in or a choice to make: no plain message.
            f.edit = true;
        } else if (IsListedClass(statics ? *statics : none, cls)) {
            f.label = true;
            labels.push_back(c);
        }
        // The rest of the children cannot change the outcome any more: neither a plain
        // message nor, on Esc, a Yes/No dialog (while that is possible the walk goes on, so
        // that a No button further on still brings the dialog back on every call; without Esc
        // in this call, once its No button has been seen).
        if (!MayBePlainMessage(f, autoclose) && (!MayBeYesNoOnEsc(f) || (!escPressed && f.no))) {
            break;
        }
    }
    if (MayBePlainMessage(f, autoclose) && f.ok && f.label) {
        // Empty labels (the icon of a message box) add nothing to the text.
        for (WindowHandle label : labels) AppendLabelText(f.text, WindowCaption(ws_, label));
    }
    return f;
}

void DialogCloser::ExamineWindow(WindowHandle window, bool escPressed) {
    Examine(window, escPressed);
}

void DialogCloser::LookEarly(WindowHandle window) {
    const WindowHandle before = lastExaminedWindow_;
    if (Examine(window, false) == Outcome::kNothing) lastExaminedWindow_ = before;
}

DialogCloser::Outcome DialogCloser::Examine(WindowHandle window, bool escPressed) {
    const WindowHandle own = ownWindow_.load();
    if (own != 0 && window == own) return Outcome::kSkipped;
    // Closed by us a moment ago and hidden, on its way out: its message is logged already
    // (the full pass of the same tick, the next tick or an early look may meet it). Shown
    // again after that, it says something new.
    const auto closedHere = [&](const Logged& c) { return c.window == window; };
    if (const auto it = std::find_if(closing_.begin(), closing_.end(), closedHere);
        it != closing_.end()) {
        if (!ws_.IsVisible(window)) {
            it->seenHidden = true;
            return Outcome::kSkipped;
        }
        if (it->seenHidden) closing_.erase(it);
    }
    // The caption is read on every call only while there are captions to replace, and
    // otherwise only for a message that is logged: the foreground window is examined 20
    // times a second and every window at each full pass, and each read is a round trip.
    const ListSnapshot replace = lists_.Snapshot(ListKind::Replace);
    std::optional<std::string> caption;
    if (replace && !replace->empty()) {
        caption = WindowCaption(ws_, window);
        ReplaceCaption(window, *caption, *replace);
    }

    if (window == lastExaminedWindow_) return Outcome::kSkipped;
    const bool autoclose = options_.Autoclose();
    if (!autoclose && !escPressed) {
        // Nothing to press in this call, whatever the children: none is read, and the window
        // is looked at again on the next call, which may bring Esc for its No button.
        lastExaminedWindow_ = 0;
        return Outcome::kNothing;
    }
    lastExaminedWindow_ = window;
    const DialogFindings f = WalkChildren(window, escPressed, autoclose);

    if (f.no && f.yes && !f.ok && !f.otherButton && !f.edit && escPressed) {
        // Only a button still inside the dialog: the chain of children may have led elsewhere.
        if (!ws_.IsChild(window, f.noButton)) return Outcome::kNothing;
        ws_.Click(f.noButton);
        return Outcome::kActed;
    }
    if (!autoclose) return Outcome::kNothing;
    if (f.buttons != 1 || !f.ok) return Outcome::kNothing;
    if (IsBlank(f.text) || !f.label) return Outcome::kNothing;
    if (f.no || f.otherButton || f.edit) return Outcome::kNothing;
    if (!ws_.IsChild(window, f.okButton)) return Outcome::kNothing;

    sink_.RestartCountdown();
    const ListSnapshot white = lists_.Snapshot(ListKind::White);
    // A white-listed message stays open; it is looked at again only after another window.
    if (white && ListContainsText(*white, f.text)) return Outcome::kActed;

    // A hung program's box comes back at every full pass, and a dialog whose program ignores
    // the click stays: its message is logged (and shown) only once, the click is tried again.
    const auto same = [&](const Logged& u) { return u.window == window && u.text == f.text; };
    const bool shown = std::any_of(closing_.begin(), closing_.end(), same);
    const bool logged = shown || std::any_of(unanswered_.begin(), unanswered_.end(), same);
    if (!caption) caption = WindowCaption(ws_, window);
    if (!logged) sink_.AppendLogEntry(*caption, f.text);
    // Read while the dialog surely exists: after the click its program may end it at once.
    const std::uint32_t processId = ws_.ProcessIdOf(window);
    if (!ws_.Click(f.okButton)) {
        // The dialog's program did not take the click in time: the message is logged but
        // not reported as closed, and the window is not analysed again on every tick.
        if (!logged) {
            if (unanswered_.size() == kMaxUnanswered) MakeRoom(unanswered_);
            unanswered_.push_back({window, f.text});
        }
        return Outcome::kActed;
    }
    std::erase_if(unanswered_, [&](const Logged& u) { return u.window == window; });
    std::erase_if(closing_, closedHere);
    if (closing_.size() == kMaxClosing) MakeRoom(closing_);
    closing_.push_back({window, f.text, false});
    lastExaminedWindow_ = 0;
    const ListSnapshot black = lists_.Snapshot(ListKind::Black);
    if (shown) return Outcome::kActed;  // closed and recorded before; its program ignored that
    const bool blackListed = black && ListContainsText(*black, f.text);
    if (!blackListed) sink_.ShowMessage(window, *caption, f.text);
    sink_.RecordAction({blackListed ? DoneAction::kClosedNotShown : DoneAction::kClosed, window,
                        processId, *caption, f.text});
    return Outcome::kActed;
}

}  // namespace vantor

// What the sender remembers of other programs' threads between messages, to spare round
// trips and waits: a thread that answered a moment ago is taken to answer now, and one that
// left a message unanswered a moment ago is not waited for again so soon. As many threads are
// remembered as a burst of boxes brings (each box its own thread, all answering before the
// first is clicked); the oldest one is forgotten first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

class AnswerMemo {
  public:
    // An answer this recent stands for the thread taking messages now: one tick, so that the
    // boxes of a burst, looked at one after another, are not each asked again before the click.
    static constexpr std::uint32_t kFreshMs = 50;
    // A thread that did not answer is counted as not answering for this long.
    static constexpr std::uint32_t kSilentMs = 250;
    static constexpr std::size_t kThreads = 128;

    enum class Verdict { kAsk, kAnswers, kSilent };

    // `now` and the times noted are GetTickCount values; they may wrap.
    Verdict Check(std::uint32_t thread, std::uint32_t now) const {
        for (const Entry& e : entries_) {
            if (e.thread != thread || thread == 0) continue;
            const std::uint32_t age = now - e.at;
            if (e.answered && age < kFreshMs) return Verdict::kAnswers;
            if (!e.answered && age < kSilentMs) return Verdict::kSilent;
            return Verdict::kAsk;
        }
        return Verdict::kAsk;
    }

    void Note(std::uint32_t thread, bool answered, std::uint32_t now) {
        if (thread == 0) return;
        *SlotFor(thread, now) = {thread, now, answered};
    }

  private:
    struct Entry {
        std::uint32_t thread = 0;
        std::uint32_t at = 0;
        bool answered = false;
    };

    // The thread's own entry, else a free one, else the one noted longest ago.
    Entry* SlotFor(std::uint32_t thread, std::uint32_t now) {
        for (Entry& e : entries_) {
            if (e.thread == thread) return &e;
        }
        Entry* oldest = &entries_[0];
        for (Entry& e : entries_) {
            if (e.thread == 0) return &e;
            if (now - e.at > now - oldest->at) oldest = &e;
        }
        return oldest;
    }

    std::array<Entry, kThreads> entries_{};
};

}  // namespace vantor

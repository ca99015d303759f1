// The run-time texts the engine and the message window use. A language replaces them as a
// whole (lang/text_table.h has their keys and built-in English values); the timer thread
// reads a snapshot.
#pragma once

#include <string>

#include "base/shared_snapshot.h"

namespace vantor {

struct RunTexts {
    RunTexts();  // the built-in English texts

    // The three button words are kept upper-cased: a button is recognised by comparing its
    // upper-cased text with them.
    std::string ssYes;
    std::string ssNo;
    std::string ssOK;
    std::string ssClose;
    std::string ssClosed;
    std::string ssNotAutoClosed;
    std::string ssVantorRunning;
    std::string ssPressedButton;
    std::string ssFirstMessage;
    std::string ssLastMessage;
};

// Shared between the GUI thread (a language is applied) and the timer thread (the engine
// reads the words).
using SharedRunTexts = SharedSnapshot<RunTexts>;

}  // namespace vantor

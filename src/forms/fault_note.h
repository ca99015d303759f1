// Where an exception stops: at the boundary of every thread and callback of the program (a
// timer tick, the folder watch, a task or window procedure of the GUI thread). An error there
// must not end the program; it leaves a short note in the message log and the work carries
// on with the next tick or message.
#pragma once

#include <exception>
#include <string>

namespace vantor {

// Receives the notes; set once at start-up before any thread runs, then only read. The
// receiver must be safe to call from any thread.
using FaultNoteReceiver = void (*)(void* context, const std::string& note);
void SetFaultNoteReceiver(FaultNoteReceiver receiver, void* context);

// "Error in <where>: <what>. Vantor carries on." to the receiver; never throws.
void NoteFault(const char* where, const char* what) noexcept;

// Runs work; an exception it throws is noted and swallowed. False when one was.
template <class Work>
bool RunGuarded(const char* where, Work&& work) noexcept {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        NoteFault(where, e.what());
    } catch (...) {
        NoteFault(where, "unknown error");
    }
    return false;
}

}  // namespace vantor

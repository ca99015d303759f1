#include "forms/fault_note.h"

#include <atomic>

namespace vantor {
namespace {

std::atomic<FaultNoteReceiver> g_receiver{nullptr};
std::atomic<void*> g_context{nullptr};

}  // namespace

void SetFaultNoteReceiver(FaultNoteReceiver receiver, void* context) {
    g_context = context;
    g_receiver = receiver;
}

void NoteFault(const char* where, const char* what) noexcept {
    const FaultNoteReceiver receiver = g_receiver.load();
    if (!receiver) return;
    try {
        receiver(g_context.load(),
                 std::string("Error in ") + where + ": " + what + ". Vantor carries on.");
    } catch (...) {
        // Out of memory even for the note: nothing more can be done.
    }
}

}  // namespace vantor

// One running copy of the program: the named mutex "Vantor" marks the first instance, and a
// second start tells it so with the registered window message 'Message.Vantor'.
#pragma once

#include <string>

namespace vantor {

inline constexpr char kInstanceId[] = "Vantor";

// "Message." followed by the instance identifier.
std::string SecondStartNoticeName(const std::string& instanceId = kInstanceId);

// What the platform calls of the check returned.
struct InstanceProbe {
    bool noticeRegistered = false;
    bool unnamedMutexCreated = false;
    bool namedMutexOpened = false;
    unsigned long waitResult = 0;  // of the zero-timeout wait on the named mutex
};

// First instance unless a call failed or the named mutex is held elsewhere (WAIT_TIMEOUT);
// an abandoned mutex after a crashed instance counts as free.
bool IsFirstInstance(const InstanceProbe& probe);

}  // namespace vantor

#include "shell/single_instance.h"

namespace vantor {

namespace {
constexpr unsigned long kWaitTimeout = 0x102;
}

std::string SecondStartNoticeName(const std::string& instanceId) {
    return "Message." + instanceId;
}

bool IsFirstInstance(const InstanceProbe& probe) {
    if (!probe.noticeRegistered || !probe.unnamedMutexCreated || !probe.namedMutexOpened) {
        return false;
    }
    return probe.waitResult != kWaitTimeout;
}

}  // namespace vantor

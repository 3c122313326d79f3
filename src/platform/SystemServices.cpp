// The process-wide current system services and the guard that swaps them.
#include "platform/SystemServices.h"

#include "platform/LinuxSystemServices.h"

namespace platform {
namespace {

ISystemServices*& Current() {
    static TLinuxSystemServices system;
    static ISystemServices* current = &system;
    return current;
}

}  // namespace

ISystemServices& SystemServices() {
    return *Current();
}

TScopedSystemServices::TScopedSystemServices(ISystemServices& replacement) : m_saved(Current()) {
    Current() = &replacement;
}

TScopedSystemServices::~TScopedSystemServices() {
    Current() = m_saved;
}

}  // namespace platform

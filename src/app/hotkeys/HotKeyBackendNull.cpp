#include "app/hotkeys/HotKeyBackendNull.h"

namespace glimmer {

bool HotKeyBackendNull::grab(Id, std::uint32_t, std::uint32_t) {
    return false;
}

void HotKeyBackendNull::release(Id) {
}

void HotKeyBackendNull::releaseAll() {
}

} // namespace glimmer

// Backend choice on platforms whose shortcut facility has no backend yet.
#include "app/hotkeys/HotKeyBackendNull.h"

namespace glimmer {

std::unique_ptr<HotKeyBackend> makeHotKeyBackend() {
    return std::make_unique<HotKeyBackendNull>();
}

} // namespace glimmer

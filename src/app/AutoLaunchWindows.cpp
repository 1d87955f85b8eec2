// No login entries on Windows yet: the host has no folder and the format that writes nothing.
#include "app/AutoLaunch.h"

namespace glimmer::AutoLaunch {

Host systemHost() {
    return Host{};
}

} // namespace glimmer::AutoLaunch

#include "model/AppPaths.h"

namespace glimmer::AppPaths {

HostPlatform hostPlatform() {
    return HostPlatform::macos;
}

} // namespace glimmer::AppPaths

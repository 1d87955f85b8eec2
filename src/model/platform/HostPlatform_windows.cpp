#include "model/AppPaths.h"

namespace glimmer::AppPaths {

HostPlatform hostPlatform() {
    return HostPlatform::windows;
}

} // namespace glimmer::AppPaths

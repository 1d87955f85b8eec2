#include "model/AppPaths.h"

namespace glimmer::AppPaths {

HostPlatform hostPlatform() {
    return HostPlatform::linuxDesktop;
}

} // namespace glimmer::AppPaths

// Login entries on Linux desktops: an XDG autostart desktop entry; there is no service to unload.
#include "app/AutoLaunch.h"

#include <system_error>

namespace glimmer::AutoLaunch {

Host systemHost() {
    Host host;
    host.format = desktopEntryFormat();
    host.agentDir = autostartDir(AppPaths::processEnv);
    std::error_code error;
    host.runningPath = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) host.runningPath.clear();
    return host;
}

} // namespace glimmer::AutoLaunch

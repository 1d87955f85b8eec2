// Every test process runs with HOME and the XDG folders in a private folder and no session bus.
#include "support/TempDir.h"

#include "model/AppLog.h"
#include "model/AppPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    glimmer::testing::TempDir home;
    const auto set = [](const char* name, const std::filesystem::path& value) {
        std::filesystem::create_directories(value);
        ::setenv(name, value.c_str(), 1);
    };
    set("HOME", home.path());
    set("XDG_DATA_HOME", home / "data");
    set("XDG_CONFIG_HOME", home / "config");
    set("XDG_CACHE_HOME", home / "cache");
    // Nor the user's session bus or Wayland session: D-Bus tests start private buses of their own.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (home / "no-session-bus").string()).c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("XDG_SESSION_TYPE");
    glimmer::AppPaths::overrideAppSupportDir(home / "data" / "Glimmerbox");
    glimmer::AppLog::setEchoToStdout(false);
    return RUN_ALL_TESTS();
}

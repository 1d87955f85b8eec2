#include "model/AppPaths.h"

#include <gtest/gtest.h>

#include <map>

namespace glimmer {
namespace {

AppPaths::EnvLookup envOf(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(AppPaths, EachPlatformHasItsOwnFolder) {
    using P = HostPlatform;
    EXPECT_EQ(AppPaths::appSupportDirFor(P::linuxDesktop, envOf({{"HOME", "/home/li"}})),
              "/home/li/.local/share/Glimmerbox");
    EXPECT_EQ(AppPaths::appSupportDirFor(P::linuxDesktop, envOf({{"HOME", "/home/li"}, {"XDG_DATA_HOME", "/d"}})),
              "/d/Glimmerbox");
    EXPECT_EQ(AppPaths::appSupportDirFor(P::linuxDesktop,
                                         envOf({{"HOME", "/home/li"}, {"XDG_DATA_HOME", "relative/dir"}})),
              "/home/li/.local/share/Glimmerbox")
        << "a relative XDG_DATA_HOME is ignored";
    EXPECT_EQ(AppPaths::appSupportDirFor(P::macos, envOf({{"HOME", "/Users/li"}})),
              "/Users/li/Library/Application Support/Glimmerbox");
    EXPECT_EQ(AppPaths::appSupportDirFor(P::windows, envOf({{"APPDATA", "C:/Users/li/AppData/Roaming"}})),
              std::filesystem::path("C:/Users/li/AppData/Roaming") / "Glimmerbox");
}

} // namespace
} // namespace glimmer

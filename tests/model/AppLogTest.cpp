#include "model/AppLog.h"
#include "doubles/ManualClock.h"
#include "model/AppPaths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace glimmer {
namespace {

using namespace testing;

class AppLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppPaths::overrideAppSupportDir(dir / "Glimmerbox");
        clock.setChinaTime(2026, 1, 5, 9, 30, 7);
        clock.setLocalUtcOffset(8 * 3600);
        AppLog::setClock(&clock);
    }
    void TearDown() override { AppLog::setClock(nullptr); }
    std::filesystem::path logPath() const { return dir / "Glimmerbox" / "events.log"; }

    TempDir dir;
    ManualClock clock;
};

TEST_F(AppLogTest, LinesCarryLocalTimeLevelAndOneBreakStartAfreshPastTheSizeBoundAndEchoWithoutAFolder) {
    AppLog::write("INFO", "启动");
    AppLog::write("ERR ", "两行\n消息");
    EXPECT_EQ(readFile(logPath()), "[2026-01-05 09:30:07] INFO 启动\n[2026-01-05 09:30:07] ERR  两行\n消息\n");

    // Time stamps follow the machine's zone, not the exchange's.
    clock.setLocalUtcOffset(-5 * 3600);
    AppLog::write("INFO", "x");
    EXPECT_NE(readFile(logPath()).find("[2026-01-04 20:30:07] INFO x\n"), std::string::npos);

    clock.setLocalUtcOffset(8 * 3600);
    writeFile(logPath(), std::string(AppLog::maxLogBytes, 'a'));
    AppLog::write("INFO", "still grows");
    EXPECT_GT(std::filesystem::file_size(logPath()), static_cast<std::uintmax_t>(AppLog::maxLogBytes));

    writeFile(logPath(), std::string(AppLog::maxLogBytes + 1, 'a'));
    AppLog::write("INFO", "fresh");
    EXPECT_EQ(readFile(logPath()), "[2026-01-05 09:30:07] INFO fresh\n");
    writeFile(dir / "blocker", "");
    AppPaths::overrideAppSupportDir(dir / "blocker" / "Glimmerbox");
    AppLog::setEchoToStdout(true);
    ::testing::internal::CaptureStdout();
    AppLog::write("ERR ", "写不进去");
    const std::string echoed = ::testing::internal::GetCapturedStdout();
    AppLog::setEchoToStdout(false);
    EXPECT_EQ(echoed, "[2026-01-05 09:30:07] ERR  写不进去\n");
}

AppPaths::EnvLookup envOf(std::map<std::string, std::string> values) {
    return [values](const char* name) { return values.contains(name) ? std::optional(values.at(name)) : std::nullopt; };
}

TEST(AppPaths, EachPlatformHasItsOwnFolder) {
    using P = HostPlatform;
    EXPECT_EQ(AppPaths::appSupportDirFor(P::linuxDesktop, envOf({{"HOME", "/home/li"}})),
              "/home/li/.local/share/Glimmerbox");
    EXPECT_EQ(AppPaths::appSupportDirFor(P::linuxDesktop, envOf({{"HOME", "/home/li"}, {"XDG_DATA_HOME", "/d"}})),
              "/d/Glimmerbox");
    EXPECT_EQ(
        AppPaths::appSupportDirFor(P::linuxDesktop, envOf({{"HOME", "/home/li"}, {"XDG_DATA_HOME", "relative/dir"}})),
        "/home/li/.local/share/Glimmerbox")
        << "a relative XDG_DATA_HOME is ignored";
    EXPECT_EQ(AppPaths::appSupportDirFor(P::macos, envOf({{"HOME", "/Users/li"}})),
              "/Users/li/Library/Application Support/Glimmerbox");
}

} // namespace
} // namespace glimmer

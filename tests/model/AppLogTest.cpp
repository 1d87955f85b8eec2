#include "model/AppLog.h"
#include "doubles/ManualClock.h"
#include "model/AppPaths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <latch>
#include <map>
#include <thread>
#include <vector>

namespace glimmer {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

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

TEST_F(AppLogTest, LinesFromFourThreadsNeverInterleave) {
    // Lines of 100 KB, many stdio buffers long, as a logged reply excerpt can be; 1.2 MB a round, so
    // the file is not started afresh meanwhile. Rounds make a rare interleaving show.
    constexpr std::size_t length = 100'000;
    std::vector<std::string> texts;
    for (const char c : {'a', 'b', 'c', 'd'}) texts.emplace_back(length, c);
    for (int round = 0; round < 30; ++round) {
        std::filesystem::remove(logPath());
        std::latch start(4);
        std::vector<std::thread> writers;
        for (const std::string& text : texts) {
            writers.emplace_back([&text, &start] {
                start.arrive_and_wait();
                for (int i = 0; i < 3; ++i) AppLog::write("INFO", text);
            });
        }
        for (std::thread& writer : writers) writer.join();
        const std::string content = readFile(logPath());
        std::size_t lines = 0;
        for (std::size_t at = 0; at < content.size(); ++lines) {
            const std::size_t end = content.find('\n', at);
            ASSERT_NE(end, std::string::npos);
            const std::string message = content.substr(at + 27, end - at - 27);
            ASSERT_TRUE(message.size() == length && message.find_first_not_of(message[0]) == std::string::npos)
                << "round " << round << " line " << lines << " is mixed";
            at = end + 1;
        }
        ASSERT_EQ(lines, 12u);
    }
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

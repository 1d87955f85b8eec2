#include "model/AppLog.h"
#include "doubles/ManualClock.h"
#include "model/AppPaths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <thread>

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

TEST_F(AppLogTest, LinesCarryLocalTimeLevelAndExactlyOneBreak) {
    AppLog::write("INFO", "启动");
    AppLog::write("ERR ", "两行\n消息");
    EXPECT_EQ(readFile(logPath()), "[2026-01-05 09:30:07] INFO 启动\n[2026-01-05 09:30:07] ERR  两行\n消息\n");

    // Time stamps follow the machine's zone, not the exchange's.
    clock.setLocalUtcOffset(-5 * 3600);
    AppLog::write("INFO", "x");
    EXPECT_NE(readFile(logPath()).find("[2026-01-04 20:30:07] INFO x\n"), std::string::npos);
}

TEST_F(AppLogTest, StartsAfreshOnlyPastTheSizeBound) {
    writeFile(logPath(), std::string(AppLog::maxLogBytes, 'a'));
    AppLog::write("INFO", "still grows");
    EXPECT_GT(std::filesystem::file_size(logPath()), static_cast<std::uintmax_t>(AppLog::maxLogBytes));

    writeFile(logPath(), std::string(AppLog::maxLogBytes + 1, 'a'));
    AppLog::write("INFO", "fresh");
    EXPECT_EQ(readFile(logPath()), "[2026-01-05 09:30:07] INFO fresh\n");
}

TEST_F(AppLogTest, UnusableFolderStillEchoesAndReturns) {
    writeFile(dir / "blocker", "");
    AppPaths::overrideAppSupportDir(dir / "blocker" / "Glimmerbox");
    AppLog::setEchoToStdout(true);
    ::testing::internal::CaptureStdout();
    AppLog::write("ERR ", "写不进去");
    const std::string echoed = ::testing::internal::GetCapturedStdout();
    AppLog::setEchoToStdout(false);
    EXPECT_EQ(echoed, "[2026-01-05 09:30:07] ERR  写不进去\n");
}

TEST_F(AppLogTest, LinesFromTwoThreadsNeverInterleave) {
    const std::string a(3000, 'a');
    const std::string b(3000, 'b');
    auto writer = [](const std::string& text) {
        for (int i = 0; i < 200; ++i) AppLog::write("INFO", text);
    };
    std::thread first(writer, a), second(writer, b);
    first.join();
    second.join();
    const std::string content = readFile(logPath());
    std::size_t lines = 0;
    for (std::size_t start = 0; start < content.size(); ++lines) {
        const std::size_t end = content.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const std::string message = content.substr(start + 27, end - start - 27);
        EXPECT_TRUE(message == a || message == b) << "line " << lines << " is mixed";
        start = end + 1;
    }
    EXPECT_EQ(lines, 400u);
}

} // namespace
} // namespace glimmer

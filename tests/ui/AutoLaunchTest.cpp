#include "app/AutoLaunch.h"
#include "app/AutoLaunchEntries.h"
#include "model/AppPaths.h"

#include "support/TempDir.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace glimmer {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

/// Runs each case against private folders and collects the log lines it writes.
class AutoLaunchTest : public ::testing::Test {
protected:
    void SetUp() override { logStart = fs::exists(AppPaths::logFile()) ? readFile(AppPaths::logFile()).size() : 0; }

    std::string newLog() const {
        if (!fs::exists(AppPaths::logFile())) return {};
        return readFile(AppPaths::logFile()).substr(logStart);
    }

    fs::path makeProgram(const fs::path& path) const {
        writeFile(path, "#!/bin/sh\n");
        return path;
    }

    AutoLaunch::Host linuxHost(const fs::path& program) {
        AutoLaunch::Host host;
        host.format = AutoLaunch::desktopEntryFormat();
        host.agentDir = dir / "config" / "autostart";
        host.runningPath = program;
        host.logDir = dir / "data" / "Glimmerbox";
        host.bootout = [this](const std::string& label) { bootouts.push_back(label); };
        return host;
    }

    AutoLaunch::Host macHost(const fs::path& bundle) {
        AutoLaunch::Host host = linuxHost(bundle);
        host.format = AutoLaunch::launchAgentFormat();
        host.agentDir = dir / "Library" / "LaunchAgents";
        host.logDir = dir / "Library" / "Application Support" / "Glimmerbox";
        return host;
    }

    TempDir dir;
    std::vector<std::string> bootouts;
    std::size_t logStart = 0;
};

TEST_F(AutoLaunchTest, EnablingFromABuildTreeLogsTheSkipLineAndWritesNothing) {
    writeFile(dir / "build" / "CMakeCache.txt", "");
    const fs::path program = makeProgram(dir / "build" / "src" / "glimmerbox");
    const AutoLaunch::Host host = linuxHost(program);

    EXPECT_FALSE(AutoLaunch::sync(true, host));
    EXPECT_NE(newLog().find("ERR  开机自启跳过：当前程序不是安装后的副本（" + program.string() + "）\n"),
              std::string::npos)
        << newLog();
    EXPECT_FALSE(fs::exists(AutoLaunch::currentEntry(host)));
}

TEST_F(AutoLaunchTest, ThisTestProgramRunsFromABuildTreeAndIsNotInstalled) {
    const AutoLaunch::Host host = AutoLaunch::systemHost();
    ASSERT_FALSE(host.runningPath.empty());
    EXPECT_TRUE(AutoLaunch::isInsideBuildTree(host.runningPath));
    EXPECT_EQ(host.agentDir, fs::path(*AppPaths::processEnv("XDG_CONFIG_HOME")) / "autostart");
    EXPECT_FALSE(AutoLaunch::install(host));
    EXPECT_FALSE(fs::exists(AutoLaunch::currentEntry(host)));
    EXPECT_NE(host.format->texts().notWritten.find("自启动项 ~/.config/autostart/io.glimmerbox.Glimmerbox.desktop"),
              std::string::npos);
}

TEST_F(AutoLaunchTest, EnablingFromAnInstalledCopyWritesAnEscapedDesktopEntry) {
    const fs::path program = makeProgram(dir / "opt" / "R&D \"Tools\" $HOME" / "股票 100%" / "glimmer\\box`x`");
    const AutoLaunch::Host host = linuxHost(program);

    EXPECT_TRUE(AutoLaunch::sync(true, host));
    const fs::path file = dir / "config" / "autostart" / "io.glimmerbox.Glimmerbox.desktop";
    ASSERT_TRUE(fs::exists(file));
    const std::string entry = readFile(file);
    const std::string base = (dir / "opt").string();
    // Inside the quotes ", `, $ and \ take a backslash, % is doubled, then every backslash doubles again.
    EXPECT_NE(entry.find("\nExec=\"" + base +
                         "/R&D \\\\\"Tools\\\\\" \\\\$HOME/股票 100%%/glimmer\\\\\\\\box\\\\`x\\\\`\"\n"),
              std::string::npos)
        << entry;
    EXPECT_EQ(entry.rfind("[Desktop Entry]\nType=Application\n", 0), 0u) << entry;
    EXPECT_NE(newLog().find("INFO 开机自启已开启 " + file.string() + "\n"), std::string::npos) << newLog();
    EXPECT_TRUE(bootouts.empty());

    // Turning it off again removes the entry.
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_NE(newLog().find("INFO 开机自启已关闭 " + file.string() + "\n"), std::string::npos) << newLog();
    EXPECT_EQ(bootouts, std::vector<std::string>{AutoLaunch::label});
}

TEST_F(AutoLaunchTest, DisablingWithoutAnEntrySucceedsWithoutRunningAnything) {
    const AutoLaunch::Host host = linuxHost(makeProgram(dir / "opt" / "glimmerbox"));
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_TRUE(bootouts.empty());
    EXPECT_EQ(newLog(), "");
}

TEST_F(AutoLaunchTest, LegacyEntryIsRetiredToItsBackupExactlyOnce) {
    const AutoLaunch::Host host = linuxHost(makeProgram(dir / "opt" / "glimmerbox"));
    const fs::path legacy = host.agentDir / "io.glimmerbox.widget.desktop";
    writeFile(legacy, "[Desktop Entry]\nExec=/old/widget\n");
    writeFile(host.agentDir / "io.glimmerbox.widget.desktop.bak", "older backup");

    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_EQ(readFile(host.agentDir / "io.glimmerbox.widget.desktop.bak"), "[Desktop Entry]\nExec=/old/widget\n");
    EXPECT_NE(newLog().find("INFO 开机自启：旧 id 自启动项已退役 io.glimmerbox.widget.desktop → "
                            "io.glimmerbox.widget.desktop.bak\n"),
              std::string::npos)
        << newLog();
    EXPECT_EQ(bootouts, std::vector<std::string>{AutoLaunch::legacyLabel});

    const std::size_t linesAfterFirst = newLog().size();
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_EQ(newLog().size(), linesAfterFirst);
    EXPECT_EQ(bootouts.size(), 1u);
}

TEST_F(AutoLaunchTest, UnwritableFolderOrUnrepresentablePathFailsWithTheErrorLine) {
    writeFile(dir / "config", "a file where the folder should be");
    AutoLaunch::Host host = linuxHost(makeProgram(dir / "opt" / "glimmerbox"));
    EXPECT_FALSE(AutoLaunch::install(host));
    EXPECT_NE(newLog().find("ERR  开机自启失败：创建自启动目录出错 "), std::string::npos) << newLog();

    // A newline in a file name cannot be carried by an entry; writing a broken one would be worse.
    host = linuxHost(makeProgram(dir / "opt" / "glimmer\nbox"));
    host.agentDir = dir / "autostart";
    EXPECT_FALSE(AutoLaunch::install(host));
    EXPECT_FALSE(fs::exists(AutoLaunch::currentEntry(host)));
    EXPECT_NE(newLog().find("ERR  开机自启失败：写入自启动项出错 "), std::string::npos) << newLog();
}

TEST_F(AutoLaunchTest, ASystemWithoutLoginEntriesRefusesToEnableAndPointsAtNoFile) {
    const AutoLaunch::Host host;
    EXPECT_TRUE(AutoLaunch::currentEntry(host).empty()) << "not a bare name in the working folder";
    EXPECT_TRUE(AutoLaunch::entryFile(host, AutoLaunch::legacyLabel).empty());
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_EQ(newLog(), "");
    EXPECT_FALSE(AutoLaunch::sync(true, host));
    EXPECT_NE(newLog().find("ERR  开机自启跳过：此系统暂不支持开机自启\n"), std::string::npos) << newLog();
}

TEST_F(AutoLaunchTest, AutostartFolderFollowsXdgConfigHomeOnlyWhenAbsolute) {
    std::map<std::string, std::string> env{{"HOME", "/home/li"}, {"XDG_CONFIG_HOME", "/home/li/cfg"}};
    const AppPaths::EnvLookup lookup = [&](const char* name) -> std::optional<std::string> {
        const auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    EXPECT_EQ(AutoLaunch::autostartDir(lookup), fs::path("/home/li/cfg/autostart"));
    env["XDG_CONFIG_HOME"] = "relative/cfg";
    EXPECT_EQ(AutoLaunch::autostartDir(lookup), fs::path("/home/li/.config/autostart"));
    env.erase("XDG_CONFIG_HOME");
    EXPECT_EQ(AutoLaunch::autostartDir(lookup), fs::path("/home/li/.config/autostart"));
}

/// The strings of a property list, read back by a real XML parser.
std::map<std::string, std::vector<std::string>> readPlist(const std::string& xml, bool& isWellFormed) {
    std::map<std::string, std::vector<std::string>> values;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    std::string key;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) continue;
        const QString name = reader.name().toString();
        if (name == "key")
            key = reader.readElementText().toStdString();
        else if (name == "string")
            values[key].push_back(reader.readElementText().toStdString());
        else if (name == "true" || name == "false")
            values[key].push_back(name.toStdString());
    }
    isWellFormed = !reader.hasError();
    return values;
}

TEST_F(AutoLaunchTest, MacAgentNeedsAnAppBundleWithItsExecutable) {
    const fs::path notBundle = dir / "build" / "Glimmerbox";
    fs::create_directories(notBundle);
    EXPECT_FALSE(AutoLaunch::install(macHost(notBundle)));
    EXPECT_NE(newLog().find("ERR  开机自启跳过：当前不是 .app 运行环境（" + notBundle.string() + "）\n"),
              std::string::npos);

    const fs::path emptyBundle = dir / "Applications" / "Glimmerbox.app";
    fs::create_directories(emptyBundle);
    EXPECT_FALSE(AutoLaunch::install(macHost(emptyBundle)));
    EXPECT_NE(
        newLog().find("ERR  开机自启跳过：找不到可执行文件 " + emptyBundle.string() + "/Contents/MacOS/Glimmerbox\n"),
        std::string::npos)
        << newLog();
}

TEST_F(AutoLaunchTest, MacAgentIsWellFormedXmlThatReadsBackTheExactPaths) {
    const fs::path bundle = dir / "Apps & <Tools>" / "Li's \"股票\".app";
    makeProgram(bundle / "Contents" / "MacOS" / "Glimmerbox");
    const AutoLaunch::Host host = macHost(bundle);

    EXPECT_TRUE(AutoLaunch::sync(true, host));
    const fs::path file = dir / "Library" / "LaunchAgents" / "io.glimmerbox.Glimmerbox.plist";
    ASSERT_TRUE(fs::exists(file));
    bool isWellFormed = false;
    const auto plist = readPlist(readFile(file), isWellFormed);
    EXPECT_TRUE(isWellFormed);
    const std::map<std::string, std::vector<std::string>> expected{
        {"Label", {"io.glimmerbox.Glimmerbox"}},
        {"ProgramArguments", {bundle.string() + "/Contents/MacOS/Glimmerbox"}},
        {"RunAtLoad", {"true"}},
        {"KeepAlive", {"false"}},
        {"ProcessType", {"Interactive"}},
        {"StandardOutPath", {(host.logDir / "launch.log").string()}},
        {"StandardErrorPath", {(host.logDir / "launch.err.log").string()}},
    };
    EXPECT_EQ(plist, expected);

    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(bootouts, std::vector<std::string>{AutoLaunch::label});
}

TEST(AutoLaunchEntries, OnlyUtf8WithoutControlCharactersIsWritable) {
    EXPECT_TRUE(AutoLaunchEntries::isWritableText("/opt/股票 & \"x\"/glimmerbox"));
    EXPECT_FALSE(AutoLaunchEntries::isWritableText("/opt/a\tb"));
    EXPECT_FALSE(AutoLaunchEntries::isWritableText("/opt/\x7f"));
    EXPECT_FALSE(AutoLaunchEntries::isWritableText("/opt/\xe8\x82"));
}

} // namespace
} // namespace glimmer

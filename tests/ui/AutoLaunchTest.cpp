#include "app/AutoLaunch.h"
#include "app/AutoLaunchEntries.h"
#include "model/AppPaths.h"
#include "support/TempDir.h"
#include "ui/TestApplication.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace glimmer {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

class AutoLaunchTest : public ::testing::Test {
protected:
    bool logged(const std::string& line) const { return log.has(line + "\n"); }
    /// A Linux host running `program` (written as a script), or a Mac one running the bundle.
    AutoLaunch::Host hostFor(const fs::path& program, bool mac = false) {
        if (!mac) writeFile(program, "#!/bin/sh\n");
        return {.format = mac ? AutoLaunch::launchAgentFormat() : AutoLaunch::desktopEntryFormat(),
                .agentDir = mac ? dir / "Library" / "LaunchAgents" : dir / "config" / "autostart",
                .runningPath = program,
                .logDir = dir / (mac ? "Library/Application Support" : "data") / "Glimmerbox",
                .bootout = [this](const std::string& label) { bootouts.push_back(label); }};
    }

    testing::TempDir dir;
    std::vector<std::string> bootouts;
    testing::LogTail log;
};

TEST_F(AutoLaunchTest, AnInstalledCopyWritesAnEscapedDesktopEntryAndDisablingRemovesIt) {
    const AutoLaunch::Host host = hostFor(dir / "opt" / "R&D \"Tools\" $HOME" / "股票 100%" / "glimmer\\box`x`");
    EXPECT_TRUE(AutoLaunch::sync(true, host));
    const fs::path file = dir / "config" / "autostart" / "io.glimmerbox.Glimmerbox.desktop";
    ASSERT_TRUE(fs::exists(file));
    const std::string entry = readFile(file);
    // Inside the quotes ", `, $ and \ take a backslash, % is doubled, then every backslash doubles again.
    EXPECT_NE(entry.find("\nExec=\"" + (dir / "opt").string() +
                         "/R&D \\\\\"Tools\\\\\" \\\\$HOME/股票 100%%/glimmer\\\\\\\\box\\\\`x\\\\`\"\n"),
              std::string::npos)
        << entry;
    EXPECT_EQ(entry.rfind("[Desktop Entry]\nType=Application\n", 0), 0u) << entry;
    EXPECT_TRUE(logged("INFO 开机自启已开启 " + file.string()));
    EXPECT_TRUE(bootouts.empty());

    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(logged("INFO 开机自启已关闭 " + file.string()));
    EXPECT_EQ(bootouts, std::vector<std::string>{AutoLaunch::label});
}

TEST_F(AutoLaunchTest, LegacyEntryIsRetiredToItsBackupExactlyOnce) {
    const AutoLaunch::Host host = hostFor(dir / "opt" / "glimmerbox");
    const fs::path legacy = host.agentDir / "io.glimmerbox.widget.desktop";
    writeFile(legacy, "[Desktop Entry]\nExec=/old/widget\n");
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_EQ(readFile(host.agentDir / "io.glimmerbox.widget.desktop.bak"), "[Desktop Entry]\nExec=/old/widget\n");
    EXPECT_TRUE(logged("INFO 开机自启：旧 id 自启动项已退役 io.glimmerbox.widget.desktop → "
                       "io.glimmerbox.widget.desktop.bak"));
    EXPECT_EQ(bootouts, std::vector<std::string>{AutoLaunch::legacyLabel});
    const std::vector<std::string> before = log.lines();
    EXPECT_TRUE(AutoLaunch::sync(false, host));
    EXPECT_EQ(log.lines(), before);
    EXPECT_EQ(bootouts.size(), 1u);
}

TEST_F(AutoLaunchTest, BuildTreeCopiesFailuresAndUnsupportedSystemsSayWhyAndWriteNothing) {
    writeFile(dir / "build" / "CMakeCache.txt", "");
    AutoLaunch::Host host = hostFor(dir / "build" / "src" / "glimmerbox");
    EXPECT_FALSE(AutoLaunch::sync(true, host));
    EXPECT_TRUE(logged("ERR  开机自启跳过：当前程序不是安装后的副本（" + host.runningPath.string() + "）"));
    EXPECT_FALSE(fs::exists(AutoLaunch::currentEntry(host)));

    writeFile(dir / "config", "a file where the folder should be");
    host = hostFor(dir / "opt" / "glimmerbox");
    EXPECT_FALSE(AutoLaunch::install(host));
    EXPECT_TRUE(log.has("ERR  开机自启失败：创建自启动目录出错 "));
    // A newline in a file name cannot be carried by an entry; writing a broken one would be worse.
    host = hostFor(dir / "opt" / "glimmer\nbox");
    host.agentDir = dir / "autostart";
    EXPECT_FALSE(AutoLaunch::install(host));
    EXPECT_FALSE(fs::exists(AutoLaunch::currentEntry(host)));
    EXPECT_TRUE(log.has("ERR  开机自启失败：写入自启动项出错 "));

    const AutoLaunch::Host none;
    EXPECT_TRUE(AutoLaunch::currentEntry(none).empty()) << "not a bare name in the working folder";
    EXPECT_TRUE(AutoLaunch::sync(false, none));
    EXPECT_FALSE(AutoLaunch::sync(true, none));
    EXPECT_TRUE(logged("ERR  开机自启跳过：此系统暂不支持开机自启"));

    EXPECT_TRUE(AutoLaunchEntries::isWritableText("/opt/股票 & \"x\"/glimmerbox"));
    for (const char* path : {"/opt/a\tb", "/opt/\x7f", "/opt/\xe8\x82"})
        EXPECT_FALSE(AutoLaunchEntries::isWritableText(path)) << path;
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

TEST_F(AutoLaunchTest, MacAgentNeedsABundleAndIsWellFormedXmlWithTheExactPaths) {
    const fs::path notBundle = dir / "build" / "Glimmerbox", emptyBundle = dir / "Applications" / "Glimmerbox.app";
    fs::create_directories(notBundle);
    fs::create_directories(emptyBundle);
    EXPECT_FALSE(AutoLaunch::install(hostFor(notBundle, true)));
    EXPECT_TRUE(logged("ERR  开机自启跳过：当前不是 .app 运行环境（" + notBundle.string() + "）"));
    EXPECT_FALSE(AutoLaunch::install(hostFor(emptyBundle, true)));
    EXPECT_TRUE(logged("ERR  开机自启跳过：找不到可执行文件 " + emptyBundle.string() + "/Contents/MacOS/Glimmerbox"));

    const fs::path bundle = dir / "Apps & <Tools>" / "Li's \"股票\".app";
    writeFile(bundle / "Contents" / "MacOS" / "Glimmerbox", "#!/bin/sh\n");
    const AutoLaunch::Host host = hostFor(bundle, true);
    EXPECT_TRUE(AutoLaunch::sync(true, host));
    const fs::path file = host.agentDir / "io.glimmerbox.Glimmerbox.plist";
    ASSERT_TRUE(fs::exists(file));
    std::vector<std::string> plist;
    QXmlStreamReader reader(QByteArray::fromStdString(readFile(file)));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isCharacters() && !reader.isWhitespace()) plist.push_back(reader.text().toString().toStdString());
        if (reader.isStartElement() && (reader.name() == u"true" || reader.name() == u"false"))
            plist.push_back(reader.name().toString().toStdString());
    }
    EXPECT_FALSE(reader.hasError());
    EXPECT_EQ(plist, (std::vector<std::string>{"KeepAlive", "false", "Label", "io.glimmerbox.Glimmerbox", "ProcessType",
                                               "Interactive", "ProgramArguments",
                                               bundle.string() + "/Contents/MacOS/Glimmerbox", "RunAtLoad", "true",
                                               "StandardErrorPath", (host.logDir / "launch.err.log").string(),
                                               "StandardOutPath", (host.logDir / "launch.log").string()}));
}

} // namespace
} // namespace glimmer

#include "app/QtSoundBackend.h"
#include "support/TempDir.h"
#include "ui/AppTestSupport.h"
#include "ui/TestApplication.h"

#include <QAction>
#include <QMenu>

#include <QSystemTrayIcon>

#include <fstream>
#include <utility>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::ManualScheduler;
using testing::RecordingSoundBackend;

class SoundPlayerTest : public ::testing::Test {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& p : played) result.push_back(p.what);
        return result;
    }

    ManualScheduler scheduler;
    std::vector<RecordingSoundBackend::Played> played;
    std::unique_ptr<RecordingSoundBackend> recording = std::make_unique<RecordingSoundBackend>(scheduler, played);
    RecordingSoundBackend& backend = *recording;
    SoundPlayer player{std::move(recording), scheduler};
};

TEST_F(SoundPlayerTest, SoundOffPlaysNothingAndKeepsTheActiveSound) {
    player.config = {false, 0.6, "Glass", ""};
    player.play();
    scheduler.advance(1);
    EXPECT_TRUE(played.empty());
    EXPECT_FALSE(player.activeSound().has_value());
}

TEST_F(SoundPlayerTest, AMissingCustomFileWithoutSystemSoundPlaysTheChime) {
    player.config = {true, 0.4, "", "/nonexistent/alert.wav"};
    player.play();
    scheduler.advance(1);
    ASSERT_EQ(names(), (std::vector<std::string>{"Tink", "Glass", "Ping"}));
    EXPECT_NEAR(played[1].at, 0.16, 1e-9);
    EXPECT_NEAR(played[2].at, 0.32, 1e-9);
    EXPECT_DOUBLE_EQ(played[2].volume, 0.4);
    EXPECT_EQ(player.activeSound(), "Ping");
}

TEST_F(SoundPlayerTest, AnUnknownSystemNameFallsBackToTheChime) {
    player.config = {true, 0.6, "Basso", ""};
    player.play();
    scheduler.advance(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Tink", "Glass", "Ping"}));
}

TEST_F(SoundPlayerTest, AnExistingCustomFileWinsAndAnUnplayableOneFallsThrough) {
    glimmer::testing::TempDir dir;
    const std::string wav = (dir.path() / "ding.wav").string();
    const std::string text = (dir.path() / "notes.txt").string();
    std::ofstream(wav) << "RIFF";
    std::ofstream(text) << "not a sound";
    player.config = {true, 0.7, "Hero", wav};
    player.play();
    EXPECT_EQ(names(), std::vector<std::string>{wav});
    EXPECT_EQ(player.activeSound(), wav);
    player.config.customFilePath = text;
    player.play();
    EXPECT_EQ(names().back(), "Hero");

    // A file the decoder rejects only after it started: the named sound follows then, once.
    const std::string broken = (dir.path() / "x.broken.wav").string();
    std::ofstream(broken) << "not a sound";
    player.config.customFilePath = broken;
    player.play();
    EXPECT_EQ(names().back(), broken);
    ASSERT_TRUE(backend.failLater);
    std::exchange(backend.failLater, nullptr)();
    EXPECT_EQ(names().back(), "Hero");
    EXPECT_EQ(player.activeSound(), "Hero");

    // A failure reported after a newer sound started stays quiet.
    player.play();
    ASSERT_TRUE(backend.failLater);
    const auto late = std::exchange(backend.failLater, nullptr);
    player.config.customFilePath = wav;
    player.play();
    late();
    EXPECT_EQ(names().back(), wav);
}

TEST_F(SoundPlayerTest, ListeningPlaysAllThreeNotesWhileTheSoundIsOff) {
    player.playForListening({false, 0.5, "", ""});
    scheduler.advance(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Tink", "Glass", "Ping"}));
    EXPECT_FALSE(player.config.enabled) << "the switch stays as configured";
}

TEST_F(SoundPlayerTest, SwitchingOffDuringAChimeSilencesTheRemainingNotes) {
    player.config = {true, 0.6, "", ""};
    player.play();
    scheduler.advance(0.1);
    player.config.enabled = false;
    scheduler.advance(1);
    EXPECT_EQ(names(), std::vector<std::string>{"Tink"});
}

TEST_F(SoundPlayerTest, ChimeNotesOfAPlayerThatIsGoneStaySilent) {
    auto shortLived =
        std::make_unique<SoundPlayer>(std::make_unique<RecordingSoundBackend>(scheduler, played), scheduler);
    shortLived->config = {true, 0.6, "", ""};
    shortLived->play();
    shortLived.reset();
    scheduler.advance(1);
    EXPECT_EQ(names(), std::vector<std::string>{"Tink"});
}

// The real Qt Multimedia backend. Without an audio device it still decodes, so the outcomes hold on
// a machine with no sound card.
class QtSoundBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        if (!QtSoundBackend().canDecodeFiles()) {
            GTEST_SKIP() << "no Qt Multimedia audio backend with decoders loads here (GStreamer base plugins "
                            "missing), so the real decoder cannot be tried";
        }
    }

    /// A player on the real backend with `file` as its custom sound and Hero as its named sound.
    SoundPlayer& playerFor(const std::string& file) {
        auto made = std::make_unique<QtSoundBackend>();
        real = made.get();
        player = std::make_unique<SoundPlayer>(std::move(made), scheduler);
        player->config = {true, 0.3, "Hero", file};
        return *player;
    }

    glimmer::testing::TempDir dir;
    ManualScheduler scheduler;
    QtSoundBackend* real = nullptr;
    std::unique_ptr<SoundPlayer> player;
};

TEST_F(QtSoundBackendTest, AFileTheDecoderRejectsLaterPlaysTheNamedSoundInstead) {
    const std::string text = (dir.path() / "x.mp3").string();
    std::ofstream(text) << "a text file, not a sound";
    SoundPlayer& sound = playerFor(text);
    sound.play();
    EXPECT_TRUE(testing::waitUntil([&] { return sound.activeSound() == "Hero"; }, 10000))
        << "still " << sound.activeSound().value_or("nothing");
    EXPECT_TRUE(real->isPlaying("Hero"));
}

TEST_F(QtSoundBackendTest, ADecodableFileKeepsPlaying) {
    const std::string wav = (dir.path() / "ding.wav").string();
    const QByteArray tone = QtSoundBackend::toneWav("Glass");
    std::ofstream(wav, std::ios::binary).write(tone.constData(), tone.size());
    SoundPlayer& sound = playerFor(wav);
    sound.play();
    testing::waitUntil([] { return false; }, 1500);
    EXPECT_EQ(sound.activeSound(), wav);
    EXPECT_FALSE(real->isPlaying("Hero"));
}

TEST(QtSoundBackend, ChimeNotesRingOverEachOther) {
    testing::ensureApplication();
    QtSoundBackend backend;
    ASSERT_TRUE(backend.playNamed("Tink", 0.3));
    ASSERT_TRUE(backend.playNamed("Glass", 0.3));
    EXPECT_TRUE(backend.isPlaying("Tink")) << "Glass does not cut Tink off";
    EXPECT_TRUE(backend.isPlaying("Glass"));
}

TEST(ToneWav, EveryNamedSoundIsAShortMonoPcmWave) {
    for (const char* name : {"Glass", "Ping", "Tink", "Sosumi", "Pop", "Funk", "Hero"}) {
        const QByteArray wav = QtSoundBackend::toneWav(name);
        ASSERT_GT(wav.size(), 44) << name;
        EXPECT_EQ(wav.left(4), QByteArray("RIFF"));
        EXPECT_EQ(wav.mid(8, 8), QByteArray("WAVEfmt "));
        const auto dataBytes = *reinterpret_cast<const quint32*>(wav.constData() + 40);
        EXPECT_EQ(static_cast<qsizetype>(dataBytes), wav.size() - 44) << name;
        EXPECT_LT(wav.size(), 100000) << name << " stays short";
    }
    EXPECT_TRUE(QtSoundBackend::toneWav("Basso").isEmpty());
}

TEST(StatusBarController, OnlyThePlainClickTogglesThePanel) {
    testing::ensureApplication();
    ManualScheduler scheduler;
    StatusBarController controller(scheduler);
    int toggles = 0;
    controller.onTogglePanel = [&] { ++toggles; };
    controller.handleClick(QSystemTrayIcon::Context);
    EXPECT_EQ(toggles, 0);
    controller.handleClick(QSystemTrayIcon::Trigger);
    EXPECT_EQ(toggles, 1);
    QStringList titles;
    for (QAction* action : controller.menu()->actions()) {
        if (!action->isSeparator()) titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"呼出 / 隐藏浮窗", "隐私模式", "设置…", "关于 澜汐看板", "退出"}));

    // The privacy entry reports its click; the owner's state checks it without a report.
    int privacyClicks = 0;
    controller.onTogglePrivacy = [&] { ++privacyClicks; };
    controller.setPrivacyMode(true);
    EXPECT_TRUE(controller.privacyAction()->isChecked());
    EXPECT_EQ(privacyClicks, 0);
    controller.privacyAction()->trigger();
    EXPECT_EQ(privacyClicks, 1);
    // No tray here; one that starts later takes the item only when it is shown.
    EXPECT_TRUE(controller.statusItem()->isVisible());
}

} // namespace
} // namespace glimmer

#include "app/QtSoundBackend.h"
#include "support/TempDir.h"
#include "ui/AppTestSupport.h"
#include "ui/TestApplication.h"

#include <QAction>
#include <QSystemTrayIcon>

#include <fstream>
#include <utility>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::ManualScheduler;
using testing::RecordingSoundBackend;
using Names = std::vector<std::string>;

class SoundPlayerTest : public ::testing::Test {
protected:
    Names played() {
        Names names;
        for (const auto& p : log) names.push_back(p.what);
        log.clear();
        return names;
    }

    ManualScheduler scheduler;
    std::vector<RecordingSoundBackend::Played> log;
    std::unique_ptr<RecordingSoundBackend> recording = std::make_unique<RecordingSoundBackend>(scheduler, log);
    RecordingSoundBackend& backend = *recording;
    SoundPlayer player{std::move(recording), scheduler};
    const Names chime{"Tink", "Glass", "Ping"};
};

TEST_F(SoundPlayerTest, TheChimeStandsInForWhatCannotPlayAndStopsWhenSwitchedOffOrGone) {
    const auto run = [&](SoundConfig config, double seconds) {
        player.config = std::move(config);
        player.play();
        scheduler.advance(seconds);
    };
    run({false, 0.6, "Glass", ""}, 1);
    EXPECT_EQ(played(), Names{}) << "sound off";
    EXPECT_FALSE(player.activeSound().has_value());

    run({true, 0.4, "", "/nonexistent/alert.wav"}, 1);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_NEAR(log[1].at - log[0].at, 0.16, 1e-9);
    EXPECT_NEAR(log[2].at - log[0].at, 0.32, 1e-9);
    EXPECT_DOUBLE_EQ(log[2].volume, 0.4);
    EXPECT_EQ(played(), chime) << "a missing file and no system sound";
    EXPECT_EQ(player.activeSound(), "Ping");

    run({true, 0.6, "Basso", ""}, 1);
    EXPECT_EQ(played(), chime) << "an unknown system sound";

    player.playForListening({false, 0.5, "", ""});
    scheduler.advance(1);
    EXPECT_EQ(played(), chime) << "listening plays all three notes while the sound is off";
    EXPECT_FALSE(player.config.enabled) << "the switch stays as configured";

    run({true, 0.6, "", ""}, 0.1);
    player.config.enabled = false;
    scheduler.advance(1);
    EXPECT_EQ(played(), Names{"Tink"}) << "switched off during the chime";

    auto shortLived = std::make_unique<SoundPlayer>(std::make_unique<RecordingSoundBackend>(scheduler, log), scheduler);
    shortLived->config = {true, 0.6, "", ""};
    shortLived->play();
    shortLived.reset();
    scheduler.advance(1);
    EXPECT_EQ(played(), Names{"Tink"}) << "the notes of a player that is gone stay silent";
}

TEST_F(SoundPlayerTest, AnExistingCustomFileWinsAndAnUnplayableOneFallsThrough) {
    glimmer::testing::TempDir dir;
    const std::string wav = (dir.path() / "ding.wav").string();
    const std::string text = (dir.path() / "notes.txt").string();
    const std::string broken = (dir.path() / "x.broken.wav").string();
    for (const std::string& file : {wav, text, broken}) std::ofstream(file) << "RIFF";
    player.config = {true, 0.7, "Hero", wav};
    player.play();
    EXPECT_EQ(played(), Names{wav});
    EXPECT_EQ(player.activeSound(), wav);
    player.config.customFilePath = text;
    player.play();
    EXPECT_EQ(played(), Names{"Hero"});

    // A file the decoder rejects only after it started: the named sound follows then, once.
    player.config.customFilePath = broken;
    player.play();
    ASSERT_TRUE(backend.failLater);
    std::exchange(backend.failLater, nullptr)();
    EXPECT_EQ(played(), (Names{broken, "Hero"}));
    EXPECT_EQ(player.activeSound(), "Hero");

    // A failure reported after a newer sound started stays quiet.
    player.play();
    const auto late = std::exchange(backend.failLater, nullptr);
    ASSERT_TRUE(late);
    player.config.customFilePath = wav;
    player.play();
    late();
    EXPECT_EQ(played(), (Names{broken, wav}));
}

// The real Qt Multimedia backend. Without an audio device it still decodes, so the outcomes hold on
// a machine with no sound card.
TEST(QtSoundBackend, RejectedFilesFallBackDecodableOnesPlayAndNotesRingOverEachOther) {
    testing::ensureApplication();
    QtSoundBackend notes;
    ASSERT_TRUE(notes.playNamed("Tink", 0.3));
    ASSERT_TRUE(notes.playNamed("Glass", 0.3));
    EXPECT_TRUE(notes.isPlaying("Tink")) << "Glass does not cut Tink off";
    EXPECT_TRUE(notes.isPlaying("Glass"));
    EXPECT_FALSE(notes.playNamed("Basso", 0.3)) << "no tone of that name";
    if (!notes.canDecodeFiles()) GTEST_SKIP() << "no Qt Multimedia decoders here (GStreamer base plugins missing)";

    glimmer::testing::TempDir dir;
    ManualScheduler scheduler;
    const std::string text = (dir.path() / "x.mp3").string();
    const std::string wav = (dir.path() / "ding.wav").string();
    std::ofstream(text) << "a text file, not a sound";
    const QByteArray tone = QtSoundBackend::toneWav("Glass");
    std::ofstream(wav, std::ios::binary).write(tone.constData(), tone.size());
    // Both start together: by the time the text file is rejected, a rejection of the wave would show.
    auto rejected = std::make_unique<QtSoundBackend>(), played = std::make_unique<QtSoundBackend>();
    QtSoundBackend &rejecting = *rejected, &playing = *played;
    SoundPlayer bad(std::move(rejected), scheduler), good(std::move(played), scheduler);
    bad.config = {true, 0.3, "Hero", text};
    good.config = {true, 0.3, "Hero", wav};
    bad.play();
    good.play();
    EXPECT_TRUE(testing::waitUntil([&] { return bad.activeSound() == "Hero"; }, 10000))
        << "still " << bad.activeSound().value_or("nothing");
    EXPECT_TRUE(rejecting.isPlaying("Hero"));
    testing::waitUntil([] { return false; }, 300);
    EXPECT_EQ(good.activeSound(), wav);
    EXPECT_FALSE(playing.isPlaying("Hero"));
}

TEST(StatusBarController, OnlyThePlainClickTogglesThePanelAndThePrivacyItemShowsTheModeAndReportsClicks) {
    testing::ensureApplication();
    ManualScheduler scheduler;
    StatusBarController controller(scheduler);
    int toggles = 0, privacyClicks = 0;
    controller.onTogglePanel = [&] { ++toggles; };
    controller.onTogglePrivacy = [&] { ++privacyClicks; };
    controller.handleClick(QSystemTrayIcon::MiddleClick);
    controller.handleClick(QSystemTrayIcon::Trigger);
    controller.setPrivacyMode(true);
    EXPECT_TRUE(controller.privacyAction()->isChecked());
    controller.privacyAction()->trigger();
    EXPECT_EQ(std::pair(toggles, privacyClicks), std::pair(1, 1));
    // No tray here; one that starts later takes the item only when it is shown.
    EXPECT_TRUE(controller.statusItem()->isVisible());
}

} // namespace
} // namespace glimmer

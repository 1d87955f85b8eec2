#include "app/SoundPlayer.h"

#include "app/QtSoundBackend.h"

#include <filesystem>
#include <system_error>

namespace glimmer {

SoundPlayer::SoundPlayer(std::unique_ptr<SoundBackend> backend, TaskScheduler& scheduler)
    : backend(std::move(backend)), scheduler(scheduler), self(std::make_shared<SoundPlayer*>(this)) {
}

SoundPlayer::~SoundPlayer() = default;

SoundPlayer& SoundPlayer::shared() {
    static SoundPlayer* player = new SoundPlayer(std::make_unique<QtSoundBackend>(), TaskScheduler::main());
    return *player;
}

void SoundPlayer::play() {
    if (!config.enabled) return;
    playNow(false);
}

void SoundPlayer::playNow(bool forced) {
    const unsigned long attempt = ++started;
    if (!config.customFilePath.empty()) {
        std::error_code error;
        const std::weak_ptr<SoundPlayer*> weak = self;
        // A file the decoder rejects after it started gets the fallback then.
        auto onFailure = [weak, attempt, forced] {
            const std::shared_ptr<SoundPlayer*> alive = weak.lock();
            if (!alive || (*alive)->started != attempt) return;
            SoundPlayer& player = **alive;
            if (!player.config.enabled && !forced) return;
            player.playFallback(forced);
        };
        if (std::filesystem::is_regular_file(config.customFilePath, error) &&
            backend->playFile(config.customFilePath, config.volume, onFailure)) {
            active = config.customFilePath;
            return;
        }
    }
    playFallback(forced);
}

void SoundPlayer::playFallback(bool forced) {
    if (config.systemSoundName.empty() || !backend->playNamed(config.systemSoundName, config.volume)) {
        startChime(forced);
        return;
    }
    active = config.systemSoundName;
}

void SoundPlayer::playDefaultChime() {
    startChime(false);
}

void SoundPlayer::playForListening(const SoundConfig& sound) {
    // The flag stays as configured; the chime's later notes play because they were forced.
    config = sound;
    playNow(true);
}

void SoundPlayer::startChime(bool forced) {
    static const char* const notes[] = {"Tink", "Glass", "Ping"};
    const std::weak_ptr<SoundPlayer*> weak = self;
    for (int i = 0; i < 3; ++i) {
        const std::string name = notes[i];
        auto note = [weak, name, forced] {
            const std::shared_ptr<SoundPlayer*> alive = weak.lock();
            if (!alive) return;
            SoundPlayer& player = **alive;
            if (!player.config.enabled && !forced) return;
            if (player.backend->playNamed(name, player.config.volume)) player.active = name;
        };
        if (i == 0) {
            note();
        } else {
            scheduler.schedule(chimeStep * i, note);
        }
    }
}

} // namespace glimmer

#pragma once

#include "app/SoundBackend.h"
#include "app/TaskScheduler.h"
#include "model/AppConfig.h"

#include <memory>
#include <optional>
#include <string>

namespace glimmer {

/// Plays the audible alert: the custom file, else the chosen named sound, else a three-note chime.
/// Failures are silent; without an audio device nothing is heard.
class SoundPlayer {
public:
    SoundPlayer(std::unique_ptr<SoundBackend> backend, TaskScheduler& scheduler);
    ~SoundPlayer();

    /// The process's player, on the Qt Multimedia backend and the main scheduler.
    static SoundPlayer& shared();

    SoundConfig config;

    /// Plays the configured sound now; nothing while the sound is off.
    void play();
    /// Tink now, Glass at 0.16 s, Ping at 0.32 s.
    void playDefaultChime();
    /// The settings' listen button: `sound` plays even when switched off, chime included.
    void playForListening(const SoundConfig& sound);

    /// What was started last: the file path or the sound name.
    const std::optional<std::string>& activeSound() const { return active; }

    static constexpr double chimeStep = 0.16;

private:
    void playNow(bool forced);
    /// The chosen named sound, else the chime.
    void playFallback(bool forced);
    void startChime(bool forced);

    std::unique_ptr<SoundBackend> backend;
    TaskScheduler& scheduler;
    std::optional<std::string> active;
    /// Counts sounds started, so a late decoder failure of a sound already replaced stays quiet.
    unsigned long started = 0;
    // Scheduled chime notes hold this weakly and stay silent once the player is gone.
    std::shared_ptr<SoundPlayer*> self;
};

} // namespace glimmer

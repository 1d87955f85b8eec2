#pragma once

#include "app/SoundBackend.h"

#include <QByteArray>

#include <memory>

namespace glimmer {

/// Sounds through Qt Multimedia: the named sounds are short tones synthesised and loaded at first
/// use, a file plays through a media player. Without an audio output nothing is heard and nothing
/// fails.
/// Builds without Qt Multimedia get a silent variant of this class.
class QtSoundBackend final : public SoundBackend {
public:
    QtSoundBackend();
    ~QtSoundBackend() override;

    bool playFile(const std::string& path, double volume, FailureHandler onFailure) override;
    bool playNamed(const std::string& name, double volume) override;
    /// Whether the named sound is sounding now.
    bool isPlaying(const std::string& name) const;
    /// Whether a media backend with decoders loads, so sound files can play at all.
    bool canDecodeFiles() const;

    /// A 16-bit mono 44.1 kHz WAV file of the named sound; empty for an unknown name.
    static QByteArray toneWav(const std::string& name);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace glimmer

#pragma once

#include <string>

namespace glimmer {

/// Where the alert sound comes out. Each call starts one sound and replaces the one before it.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    /// A sound file (WAV, MP3, M4A as the platform supports); false when it cannot be played.
    virtual bool playFile(const std::string& path, double volume) = 0;
    /// One of the named sounds; false for a name the program does not have.
    virtual bool playNamed(const std::string& name, double volume) = 0;
};

} // namespace glimmer

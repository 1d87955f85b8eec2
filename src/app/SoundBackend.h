#pragma once

#include <functional>
#include <string>

namespace glimmer {

/// Where the alert sound comes out. Each call starts one sound; a file replaces the file before it,
/// while named sounds play over each other.
class SoundBackend {
public:
    /// Called at most once, later and on the main thread, when a started file cannot be decoded.
    using FailureHandler = std::function<void()>;

    virtual ~SoundBackend() = default;
    /// A sound file (WAV, MP3, M4A as the platform supports); false when it cannot be played at all.
    /// A decoder that rejects the file only after it started reports through `onFailure`.
    virtual bool playFile(const std::string& path, double volume, FailureHandler onFailure) = 0;
    /// One of the named sounds; false for a name the program does not have.
    virtual bool playNamed(const std::string& name, double volume) = 0;
};

} // namespace glimmer

#include "app/QtSoundBackend.h"

#include <algorithm>
#include <cstdint>

#include <cmath>
#include <map>
#include <numbers>

namespace glimmer {

namespace {

struct Tone {
    double frequency;  // Hz of the fundamental
    double seconds;    // length
    double decay;      // exponential decay rate per second
    double overtone;   // level of the octave above
};

// Short, quiet tones in the spirit of the names: Tink high and brief, Glass bright, Ping clear,
// Sosumi a low pair, Pop a blip, Funk low and buzzy, Hero a rising fifth.
const std::map<std::string, Tone>& tones() {
    static const std::map<std::string, Tone> table{
        {"Tink", {2093.0, 0.12, 28.0, 0.15}},  {"Glass", {1568.0, 0.45, 7.0, 0.35}},
        {"Ping", {1318.5, 0.40, 8.0, 0.20}},   {"Sosumi", {659.3, 0.35, 6.0, 0.40}},
        {"Pop", {880.0, 0.07, 45.0, 0.05}},    {"Funk", {220.0, 0.30, 9.0, 0.60}},
        {"Hero", {784.0, 0.50, 5.0, 0.25}},
    };
    return table;
}

void appendLE(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

} // namespace

QByteArray QtSoundBackend::toneWav(const std::string& name) {
    const auto found = tones().find(name);
    if (found == tones().end()) return {};
    const Tone& tone = found->second;
    constexpr int rate = 44100;
    const int count = static_cast<int>(tone.seconds * rate);
    QByteArray samples;
    samples.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        // Hero rises a fifth half way through.
        const double f = (name == "Hero" && t > tone.seconds / 2) ? tone.frequency * 1.5 : tone.frequency;
        const double attack = std::min(1.0, t / 0.004);
        const double envelope = attack * std::exp(-tone.decay * t);
        const double wave = std::sin(2 * std::numbers::pi * f * t) +
                            tone.overtone * std::sin(4 * std::numbers::pi * f * t);
        const double value = 0.45 * envelope * wave / (1 + tone.overtone);
        const auto sample = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767));
        appendLE(samples, static_cast<std::uint16_t>(sample), 2);
    }
    QByteArray wav;
    wav.append("RIFF");
    appendLE(wav, 36 + samples.size(), 4);
    wav.append("WAVEfmt ");
    appendLE(wav, 16, 4);
    appendLE(wav, 1, 2); // PCM
    appendLE(wav, 1, 2); // mono
    appendLE(wav, rate, 4);
    appendLE(wav, rate * 2, 4);
    appendLE(wav, 2, 2);
    appendLE(wav, 16, 2);
    wav.append("data");
    appendLE(wav, samples.size(), 4);
    wav.append(samples);
    return wav;
}

} // namespace glimmer

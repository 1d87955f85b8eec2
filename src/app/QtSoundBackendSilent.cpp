#include "app/QtSoundBackend.h"

#include <QFile>

namespace glimmer {

// Built without Qt Multimedia: the choices are made as usual, nothing is heard.
struct QtSoundBackend::Impl {};

QtSoundBackend::QtSoundBackend() = default;
QtSoundBackend::~QtSoundBackend() = default;

bool QtSoundBackend::playFile(const std::string& path, double, FailureHandler) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) && file.size() > 0;
}

bool QtSoundBackend::playNamed(const std::string& name, double) {
    return !toneWav(name).isEmpty();
}

bool QtSoundBackend::isPlaying(const std::string&) const {
    return false;
}

bool QtSoundBackend::canDecodeFiles() const {
    return false;
}

} // namespace glimmer

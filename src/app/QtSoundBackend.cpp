#include "app/QtSoundBackend.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <map>

namespace glimmer {

struct QtSoundBackend::Impl {
    std::unique_ptr<QTemporaryDir> folder;
    std::map<std::string, QString> files;
    std::unique_ptr<QSoundEffect> effect;
    std::unique_ptr<QMediaPlayer> player;
    std::unique_ptr<QAudioOutput> output;

    QString toneFile(const std::string& name) {
        const auto known = files.find(name);
        if (known != files.end()) return known->second;
        const QByteArray wav = toneWav(name);
        if (wav.isEmpty()) return {};
        if (!folder) folder = std::make_unique<QTemporaryDir>();
        if (!folder->isValid()) return {};
        const QString path = folder->filePath(QString::fromStdString(name) + QStringLiteral(".wav"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) return {};
        files[name] = path;
        return path;
    }
};

QtSoundBackend::QtSoundBackend() : impl(std::make_unique<Impl>()) {}

QtSoundBackend::~QtSoundBackend() = default;

namespace {

bool hasAudioOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

} // namespace

bool QtSoundBackend::playFile(const std::string& path, double volume) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
    file.close();
    if (!hasAudioOutput()) return true;
    if (!impl->player) {
        impl->player = std::make_unique<QMediaPlayer>();
        impl->output = std::make_unique<QAudioOutput>();
        impl->player->setAudioOutput(impl->output.get());
    }
    impl->player->stop();
    impl->output->setVolume(static_cast<float>(std::clamp(volume, 0.0, 1.0)));
    impl->player->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    if (impl->player->error() != QMediaPlayer::NoError) return false;
    impl->player->play();
    return true;
}

bool QtSoundBackend::playNamed(const std::string& name, double volume) {
    if (toneWav(name).isEmpty()) return false;
    if (!hasAudioOutput()) return true;
    const QString path = impl->toneFile(name);
    if (path.isEmpty()) return true;
    impl->effect = std::make_unique<QSoundEffect>();
    impl->effect->setSource(QUrl::fromLocalFile(path));
    impl->effect->setVolume(static_cast<float>(std::clamp(volume, 0.0, 1.0)));
    impl->effect->play();
    return true;
}

} // namespace glimmer

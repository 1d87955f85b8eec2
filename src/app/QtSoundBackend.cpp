#include "app/QtSoundBackend.h"

#include <QAudioOutput>
#include <QFile>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace glimmer {

namespace {

float clampedVolume(double volume) {
    return static_cast<float>(std::clamp(volume, 0.0, 1.0));
}

} // namespace

struct QtSoundBackend::Impl {
    std::unique_ptr<QTemporaryDir> folder;
    std::map<std::string, QString> files;
    // One loaded effect per named sound, so the chime's notes ring over each other.
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects;
    std::unique_ptr<QMediaPlayer> player;
    std::unique_ptr<QAudioOutput> output;
    QMetaObject::Connection failureWatch;
    mutable std::optional<bool> decoders;

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

    QSoundEffect* effect(const std::string& name) {
        auto& slot = effects[name];
        if (!slot) {
            const QString path = toneFile(name);
            if (path.isEmpty()) return nullptr;
            slot = std::make_unique<QSoundEffect>();
            slot->setSource(QUrl::fromLocalFile(path));
        }
        return slot.get();
    }

    /// A media backend without decoders (GStreamer without its base plugins) cannot play files,
    /// and Qt's GStreamer player crashes when built there, so none is made.
    bool canDecode() const {
        if (!decoders) decoders = !QMediaFormat().supportedFileFormats(QMediaFormat::Decode).isEmpty();
        return *decoders;
    }

    QMediaPlayer& mediaPlayer() {
        if (!player) {
            player = std::make_unique<QMediaPlayer>();
            output = std::make_unique<QAudioOutput>();
            player->setAudioOutput(output.get());
        }
        return *player;
    }

    /// Reports the first decoder error of the current file, after the call that started it returned.
    void watchFailure(FailureHandler onFailure) {
        QObject::disconnect(failureWatch);
        if (!onFailure) return;
        // Errors already queued when the watch ends are still delivered: each watch fires once.
        auto pending = std::make_shared<FailureHandler>(std::move(onFailure));
        failureWatch = QObject::connect(
            player.get(), &QMediaPlayer::errorOccurred, player.get(),
            [pending] {
                if (!*pending) return;
                const FailureHandler report = std::exchange(*pending, nullptr);
                report();
            },
            Qt::QueuedConnection);
    }
};

QtSoundBackend::QtSoundBackend() : impl(std::make_unique<Impl>()) {
}

QtSoundBackend::~QtSoundBackend() = default;

bool QtSoundBackend::playFile(const std::string& path, double volume, FailureHandler onFailure) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
    file.close();
    if (!canDecodeFiles()) return false;
    QMediaPlayer& player = impl->mediaPlayer();
    QObject::disconnect(impl->failureWatch);
    player.stop();
    impl->output->setVolume(clampedVolume(volume));
    player.setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    // Some backends reject a file at once; the others report through errorOccurred once decoding.
    if (player.error() != QMediaPlayer::NoError) return false;
    impl->watchFailure(std::move(onFailure));
    player.play();
    return true;
}

bool QtSoundBackend::playNamed(const std::string& name, double volume) {
    if (toneWav(name).isEmpty()) return false;
    QSoundEffect* effect = impl->effect(name);
    if (!effect) return true;
    effect->setVolume(clampedVolume(volume));
    effect->play();
    return true;
}

bool QtSoundBackend::isPlaying(const std::string& name) const {
    const auto file = impl->files.find(name);
    if (file == impl->files.end()) return false;
    const QUrl source = QUrl::fromLocalFile(file->second);
    return std::any_of(impl->effects.begin(), impl->effects.end(), [&source](const auto& named) {
        return named.second && named.second->source() == source && named.second->isPlaying();
    });
}

bool QtSoundBackend::canDecodeFiles() const {
    return impl->canDecode();
}

} // namespace glimmer

#include "settings/SoundSection.h"

#include "settings/ConfigBinding.h"
#include "settings/SettingsControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace glimmer {

namespace {

// "" is the built-in three-note chime.
const char* const systemSounds[] = {"Glass", "Ping", "Tink", "Sosumi", "Pop", "Funk", "Hero"};

} // namespace

QString SoundSection::audioFileFilter() {
    return QStringLiteral("音频文件 (*.wav *.mp3 *.m4a *.aiff *.aif)");
}

SoundSection::SoundSection(ConfigBinding& binding, std::function<void()> onTestSound, QWidget* parent)
    : SettingsSection(QStringLiteral("警示音"), QStringLiteral("提示音默认关闭；浮窗隐藏或锁屏时预警另发桌面通知"),
                      parent),
      binding(binding), onTestSound(std::move(onTestSound)) {
    chooseFile = [](QWidget* parent) -> std::optional<QString> {
        const QString path =
            QFileDialog::getOpenFileName(parent, QStringLiteral("选择自定义音频"), QString(), audioFileFilter());
        if (path.isEmpty()) return std::nullopt;
        return path;
    };

    enabled = SettingsControls::toggle(QStringLiteral("预警时播放提示音"), this);
    contentLayout()->addWidget(enabled);
    connect(enabled, &QCheckBox::toggled, this,
            [this](bool on) { this->binding.edit([&](AppConfig& c) { c.sound.enabled = on; }); });

    auto* volumeRow = new QHBoxLayout;
    volumeRow->setSpacing(8);
    QLabel* volumeLabel = SettingsControls::text(QStringLiteral("音量"), this);
    volumeLabel->setFixedWidth(72);
    volume = new QSlider(Qt::Horizontal, this);
    volume->setRange(0, 100);
    volume->setPageStep(5);
    volume->setAccessibleName(QStringLiteral("音量"));
    volume->setObjectName(QStringLiteral("volume"));
    volumeValue = new QLabel(this);
    volumeValue->setMinimumWidth(40);
    auto* listen = new QPushButton(QStringLiteral("试听"), this);
    listen->setAccessibleName(QStringLiteral("试听"));
    listen->setAutoDefault(false);
    volumeRow->addWidget(volumeLabel);
    volumeRow->addWidget(volume, 1);
    volumeRow->addWidget(volumeValue);
    volumeRow->addWidget(listen);
    contentLayout()->addLayout(volumeRow);
    connect(volume, &QSlider::valueChanged, this,
            [this](int percent) { this->binding.edit([&](AppConfig& c) { c.sound.volume = percent / 100.0; }); });
    connect(listen, &QPushButton::clicked, this, [this] {
        if (this->onTestSound) this->onTestSound();
    });

    auto* soundRow = new QHBoxLayout;
    soundRow->setSpacing(8);
    QLabel* soundLabel = SettingsControls::text(QStringLiteral("系统音"), this);
    soundLabel->setFixedWidth(72);
    systemSound = new QComboBox(this);
    systemSound->setFixedWidth(200);
    systemSound->setAccessibleName(QStringLiteral("系统音"));
    systemSound->addItem(QStringLiteral("默认三连音"), QString());
    for (const char* name : systemSounds) systemSound->addItem(QString::fromLatin1(name), QString::fromLatin1(name));
    choose = new QPushButton(QStringLiteral("选择自定义音频…"), this);
    choose->setAccessibleName(QStringLiteral("选择自定义音频"));
    choose->setAutoDefault(false);
    soundRow->addWidget(soundLabel);
    soundRow->addWidget(systemSound);
    soundRow->addWidget(choose);
    soundRow->addStretch(1);
    contentLayout()->addLayout(soundRow);
    connect(systemSound, &QComboBox::activated, this, [this](int index) {
        const std::string name = systemSound->itemData(index).toString().toStdString();
        this->binding.edit([&](AppConfig& c) { c.sound.systemSoundName = name; });
    });
    connect(choose, &QPushButton::clicked, this, &SoundSection::chooseCustomFile);

    fileRow = new QWidget(this);
    auto* fileLayout = new QHBoxLayout(fileRow);
    fileLayout->setContentsMargins(80, 0, 0, 0);
    fileLayout->setSpacing(8);
    fileName = new QLabel(fileRow);
    fileName->setObjectName(QStringLiteral("customFileName"));
    fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    clear = new QPushButton(QStringLiteral("清除"), fileRow);
    clear->setAccessibleName(QStringLiteral("清除自定义音频"));
    clear->setAutoDefault(false);
    fileLayout->addWidget(fileName);
    fileLayout->addWidget(clear);
    fileLayout->addStretch(1);
    contentLayout()->addWidget(fileRow);
    connect(clear, &QPushButton::clicked, this,
            [this] { this->binding.edit([](AppConfig& c) { c.sound.customFilePath.clear(); }); });

    notifications = SettingsControls::toggle(QStringLiteral("桌面通知"), this);
    notifications->setToolTip(QStringLiteral("浮窗隐藏或锁屏时，预警同时发一条桌面通知；点击通知呼出浮窗"));
    contentLayout()->addWidget(notifications);
    connect(notifications, &QCheckBox::toggled, this,
            [this](bool on) { this->binding.edit([&](AppConfig& c) { c.sound.desktopNotifications = on; }); });

    connect(&binding, &ConfigBinding::changed, this, &SoundSection::sync);
    sync();
}

void SoundSection::chooseCustomFile() {
    if (!chooseFile) return;
    const std::optional<QString> path = chooseFile(window());
    if (!path || path->isEmpty()) return; // cancelled: nothing changes
    const std::string chosen = path->toStdString();
    binding.edit([&](AppConfig& c) { c.sound.customFilePath = chosen; });
}

void SoundSection::sync() {
    const SoundConfig& sound = binding.config().sound;
    {
        const QSignalBlocker block(enabled);
        enabled->setChecked(sound.enabled);
    }
    {
        const QSignalBlocker block(notifications);
        notifications->setChecked(sound.desktopNotifications);
    }
    {
        const QSignalBlocker block(volume);
        volume->setValue(static_cast<int>(std::lround(sound.volume * 100)));
    }
    volumeValue->setText(QStringLiteral("%1%").arg(std::lround(sound.volume * 100)));
    // A name the list does not offer (edited by hand) shows no selection.
    systemSound->setCurrentIndex(systemSound->findData(QString::fromStdString(sound.systemSoundName)));
    systemSound->setEnabled(sound.customFilePath.empty());
    const bool hasFile = !sound.customFilePath.empty();
    fileRow->setVisible(hasFile);
    // The file name only, on one line; the whole path stays available as the tooltip.
    const QString path = QString::fromStdString(sound.customFilePath);
    fileName->setText(QFileInfo(path).fileName());
    fileName->setToolTip(path);
    fileName->setAccessibleName(QStringLiteral("自定义音频 ") + QFileInfo(path).fileName());
}

} // namespace glimmer

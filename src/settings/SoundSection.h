#pragma once

#include "settings/SettingsSection.h"

#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace glimmer {

class ConfigBinding;

/// The alert-sound card: on/off, volume, listen, system sound and a custom audio file.
class SoundSection : public SettingsSection {
    Q_OBJECT

public:
    /// Asks the user for an audio file; none when cancelled.
    using FileChooser = std::function<std::optional<QString>(QWidget* parent)>;

    SoundSection(ConfigBinding& binding, std::function<void()> onTestSound, QWidget* parent = nullptr);

    /// Replaces the file dialog (tests).
    void setFileChooser(FileChooser chooser) { chooseFile = std::move(chooser); }
    /// The dialog's filter: the audio files the player can open.
    static QString audioFileFilter();

    QComboBox* systemSoundPicker() const { return systemSound; }
    QPushButton* chooseButton() const { return choose; }
    QPushButton* clearButton() const { return clear; }
    QCheckBox* notificationsToggle() const { return notifications; }
    QLabel* fileNameLabel() const { return fileName; }

private:
    void chooseCustomFile();
    void sync();

    ConfigBinding& binding;
    std::function<void()> onTestSound;
    FileChooser chooseFile;
    QCheckBox* enabled = nullptr;
    QSlider* volume = nullptr;
    QLabel* volumeValue = nullptr;
    QComboBox* systemSound = nullptr;
    QPushButton* choose = nullptr;
    QWidget* fileRow = nullptr;
    QLabel* fileName = nullptr;
    QPushButton* clear = nullptr;
    QCheckBox* notifications = nullptr;
};

} // namespace glimmer

#pragma once

#include "settings/SettingsSection.h"

#include "model/AppConfig.h"

#include <QKeyCombination>
#include <Qt>

#include <cstdint>
#include <optional>

class QCheckBox;
class QPushButton;

namespace glimmer {

class ConfigBinding;

/// The global hot-key card: for the panel toggle and for the privacy switch, an on/off switch and a
/// recorder button that takes the next key press holding a modifier as the new combination.
class HotKeySection : public SettingsSection {
    Q_OBJECT

public:
    explicit HotKeySection(ConfigBinding& binding, QWidget* parent = nullptr);
    ~HotKeySection() override;

    bool isRecording() const { return recordingKey != nullptr; }
    QPushButton* recordButton() const { return panelKey.record; }
    QPushButton* privacyRecordButton() const { return privacyKey.record; }
    QCheckBox* privacyToggle() const { return privacyKey.enabled; }

    /// The stored modifier mask of Qt's modifiers, mapped as Qt maps the Mac keys: Control is
    /// command, Alt is option, Meta is control.
    static std::uint32_t carbonModifiers(Qt::KeyboardModifiers modifiers);
    /// The macOS virtual key code of a Qt key from the hot-key table, else of the digit or
    /// punctuation key at the native (X11) key code; none for keys outside the table.
    static std::optional<std::uint32_t> macKeyCode(int qtKey, std::uint32_t nativeScanCode = 0);
    /// Which modifiers and keys a combination may use, named as this platform names them.
    static QString recorderHint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// A closed window stops listening for keys.
    void hideEvent(QHideEvent* event) override;

private:
    /// One hot key's row and the setting it edits.
    struct KeyRow {
        HotKeySpec AppConfig::*setting = nullptr;
        QCheckBox* enabled = nullptr;
        QPushButton* record = nullptr;
    };

    void addRow(KeyRow& row, const QString& toggleText, const QString& recorderName, const QString& hintText);
    void startRecording(KeyRow& row);
    void stopRecording();
    void sync();
    void syncRow(const KeyRow& row);

    ConfigBinding& binding;
    KeyRow panelKey;
    KeyRow privacyKey;
    KeyRow* recordingKey = nullptr;
};

} // namespace glimmer

#pragma once

#include "settings/SettingsSection.h"

#include <QKeyCombination>
#include <Qt>

#include <cstdint>
#include <optional>

class QCheckBox;
class QPushButton;

namespace glimmer {

class ConfigBinding;

/// The global hot-key card: the on/off switch and a recorder button that takes the next key press
/// holding a modifier as the new combination.
class HotKeySection : public SettingsSection {
    Q_OBJECT

public:
    explicit HotKeySection(ConfigBinding& binding, QWidget* parent = nullptr);
    ~HotKeySection() override;

    bool isRecording() const { return recording; }
    QPushButton* recordButton() const { return record; }

    /// The stored modifier mask of Qt's modifiers, mapped as Qt maps the Mac keys: Control is
    /// command, Alt is option, Meta is control.
    static std::uint32_t carbonModifiers(Qt::KeyboardModifiers modifiers);
    /// The macOS virtual key code of a Qt key from the hot-key table; none for keys outside it.
    static std::optional<std::uint32_t> macKeyCode(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// A closed window stops listening for keys.
    void hideEvent(QHideEvent* event) override;

private:
    void startRecording();
    void stopRecording();
    void sync();

    ConfigBinding& binding;
    QCheckBox* enabled = nullptr;
    QPushButton* record = nullptr;
    bool recording = false;
};

} // namespace glimmer

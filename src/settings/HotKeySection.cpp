#include "settings/HotKeySection.h"

#include "model/HotKeyKeys.h"
#include "settings/ConfigBinding.h"
#include "settings/SettingsControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace glimmer {

HotKeySection::HotKeySection(ConfigBinding& binding, QWidget* parent)
    : SettingsSection(QStringLiteral("全局快捷键"), QStringLiteral("任何 App 前台时都能一键呼出/隐藏浮窗"), parent),
      binding(binding) {
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    enabled = SettingsControls::toggle(QStringLiteral("启用快捷键"), this);
    enabled->setFixedWidth(120);
    record = new QPushButton(this);
    record->setFixedWidth(130);
    record->setAutoDefault(false);
    record->setObjectName(QStringLiteral("hotkeyRecorder"));
    row->addWidget(enabled);
    row->addWidget(record);
    row->addWidget(SettingsControls::hint(QStringLiteral("需包含 ⌘ / ⌥ / ⌃ 中至少一个修饰键"), this), 1);
    contentLayout()->addLayout(row);

    connect(enabled, &QCheckBox::toggled, this,
            [this](bool on) { this->binding.edit([&](AppConfig& c) { c.hotkey.enabled = on; }); });
    connect(record, &QPushButton::clicked, this, [this] {
        if (recording)
            stopRecording();
        else
            startRecording();
    });
    connect(&binding, &ConfigBinding::changed, this, &HotKeySection::sync);
    sync();
}

HotKeySection::~HotKeySection() {
    if (recording && qApp) qApp->removeEventFilter(this);
}

std::uint32_t HotKeySection::carbonModifiers(Qt::KeyboardModifiers modifiers) {
    std::uint32_t mask = 0;
    if (modifiers & Qt::ControlModifier) mask |= HotKeyKeys::commandBit;
    if (modifiers & Qt::ShiftModifier) mask |= HotKeyKeys::shiftBit;
    if (modifiers & Qt::AltModifier) mask |= HotKeyKeys::optionBit;
    if (modifiers & Qt::MetaModifier) mask |= HotKeyKeys::controlBit;
    return mask;
}

std::optional<std::uint32_t> HotKeySection::macKeyCode(int qtKey) {
    // The table names keys by X11 keysym: Latin-1 characters stand for themselves (letters in
    // lower case), the special keys use the 0xff00 block.
    std::uint32_t keySym = 0;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        keySym = 0xff0d;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        keySym = 0xff09;
        break;
    case Qt::Key_Backspace:
        keySym = 0xff08;
        break;
    case Qt::Key_Escape:
        keySym = 0xff1b;
        break;
    default:
        if (qtKey < 0x20 || qtKey > 0x7e) return std::nullopt;
        keySym = static_cast<std::uint32_t>(qtKey >= 'A' && qtKey <= 'Z' ? qtKey - 'A' + 'a' : qtKey);
    }
    for (const HotKeyKeys::Key& key : HotKeyKeys::table())
        if (key.keySym == keySym) return key.keyCode;
    return std::nullopt;
}

void HotKeySection::startRecording() {
    recording = true;
    qApp->installEventFilter(this);
    sync();
}

void HotKeySection::stopRecording() {
    if (!recording) return;
    qApp->removeEventFilter(this);
    recording = false;
    sync();
}

bool HotKeySection::eventFilter(QObject* watched, QEvent* event) {
    if (!recording || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const std::uint32_t mask = carbonModifiers(key->modifiers());
    const std::optional<std::uint32_t> code = macKeyCode(key->key());
    // No modifier, a bare modifier key or a key the hot keys cannot use: not a combination.
    if (mask == 0 || !code) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so no shortcut fires; the key press that follows records it.
        event->accept();
        return true;
    }
    const std::string name = HotKeyKeys::displayName(*code, mask);
    binding.edit([&](AppConfig& c) {
        c.hotkey.keyCode = *code;
        c.hotkey.modifiers = mask;
        c.hotkey.displayName = name;
    });
    stopRecording();
    return true;
}

void HotKeySection::hideEvent(QHideEvent* event) {
    stopRecording();
    SettingsSection::hideEvent(event);
}

void HotKeySection::sync() {
    const HotKeySpec& hotkey = binding.config().hotkey;
    {
        const QSignalBlocker block(enabled);
        enabled->setChecked(hotkey.enabled);
    }
    record->setText(recording ? QStringLiteral("请按下组合键…") : QString::fromStdString(hotkey.displayName));
    record->setAccessibleName(recording
                                  ? QStringLiteral("正在录制快捷键，请按下组合键")
                                  : QStringLiteral("录制快捷键，当前 ") + QString::fromStdString(hotkey.displayName));
}

} // namespace glimmer

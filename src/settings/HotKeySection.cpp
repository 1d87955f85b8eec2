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
    panelKey.setting = &AppConfig::hotkey;
    privacyKey.setting = &AppConfig::privacyHotkey;
    addRow(panelKey, QStringLiteral("启用快捷键"), QStringLiteral("hotkeyRecorder"), recorderHint());
    addRow(privacyKey, QStringLiteral("隐私模式"), QStringLiteral("privacyHotkeyRecorder"),
           QStringLiteral("一键切换隐私模式：金额和持股数显示为 ****"));
    connect(&binding, &ConfigBinding::changed, this, &HotKeySection::sync);
    sync();
}

void HotKeySection::addRow(KeyRow& key, const QString& toggleText, const QString& recorderName,
                           const QString& hintText) {
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    key.enabled = SettingsControls::toggle(toggleText, this);
    key.enabled->setFixedWidth(120);
    key.record = new QPushButton(this);
    key.record->setFixedWidth(130);
    key.record->setAutoDefault(false);
    key.record->setObjectName(recorderName);
    row->addWidget(key.enabled);
    row->addWidget(key.record);
    QLabel* hint = SettingsControls::hint(hintText, this);
    // The list of usable keys is longer than the row is wide.
    hint->setWordWrap(true);
    row->addWidget(hint, 1);
    contentLayout()->addLayout(row);

    const auto setting = key.setting;
    connect(key.enabled, &QCheckBox::toggled, this,
            [this, setting](bool on) { this->binding.edit([&](AppConfig& c) { (c.*setting).enabled = on; }); });
    connect(key.record, &QPushButton::clicked, this, [this, &key] {
        const bool wasThis = recordingKey == &key;
        stopRecording();
        if (!wasThis) startRecording(key);
    });
}

HotKeySection::~HotKeySection() {
    if (recordingKey && qApp) qApp->removeEventFilter(this);
}

std::uint32_t HotKeySection::carbonModifiers(Qt::KeyboardModifiers modifiers) {
    std::uint32_t mask = 0;
    if (modifiers & Qt::ControlModifier) mask |= HotKeyKeys::commandBit;
    if (modifiers & Qt::ShiftModifier) mask |= HotKeyKeys::shiftBit;
    if (modifiers & Qt::AltModifier) mask |= HotKeyKeys::optionBit;
    if (modifiers & Qt::MetaModifier) mask |= HotKeyKeys::controlBit;
    return mask;
}

QString HotKeySection::recorderHint() {
    using namespace HotKeyKeys;
    return QStringLiteral("需包含 %1 / %2 / %3 中至少一个修饰键；可用字母、数字、符号、F1–F12、方向键、Home、End、"
                          "PgUp、PgDown")
        .arg(QString::fromStdString(modifierName(commandBit)), QString::fromStdString(modifierName(optionBit)),
             QString::fromStdString(modifierName(controlBit)));
}

std::optional<std::uint32_t> HotKeySection::macKeyCode(int qtKey, std::uint32_t nativeScanCode) {
    // The table names keys by X11 keysym: Latin-1 characters stand for themselves (letters in
    // lower case), the special keys use the 0xff00 block.
    std::uint32_t keySym = 0;
    // Qt numbers Home, End, Left, Up, Right, Down, PageUp and PageDown in a row; X11 orders them otherwise.
    constexpr std::uint32_t navigationKeySyms[] = {0xff50, 0xff57, 0xff51, 0xff52, 0xff53, 0xff54, 0xff55, 0xff56};
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
        if (qtKey >= Qt::Key_Home && qtKey <= Qt::Key_PageDown) {
            keySym = navigationKeySyms[qtKey - Qt::Key_Home];
        } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
            keySym = 0xffbe + std::uint32_t(qtKey - Qt::Key_F1);
        } else if (qtKey >= 0x20 && qtKey <= 0x7e) {
            keySym = static_cast<std::uint32_t>(qtKey >= 'A' && qtKey <= 'Z' ? qtKey - 'A' + 'a' : qtKey);
        }
    }
    for (const HotKeyKeys::Key& key : HotKeyKeys::table())
        if (keySym != 0 && key.keySym == keySym) return key.keyCode;
    // Shift turns 1 into "!" and - into "_": the key itself is found by where it sits.
    if (const HotKeyKeys::Key* key = HotKeyKeys::findByScanCode(nativeScanCode)) return key->keyCode;
    return std::nullopt;
}

void HotKeySection::startRecording(KeyRow& row) {
    recordingKey = &row;
    qApp->installEventFilter(this);
    sync();
}

void HotKeySection::stopRecording() {
    if (!recordingKey) return;
    qApp->removeEventFilter(this);
    recordingKey = nullptr;
    sync();
}

bool HotKeySection::eventFilter(QObject* watched, QEvent* event) {
    if (!recordingKey || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const std::uint32_t mask = carbonModifiers(key->modifiers());
    const std::optional<std::uint32_t> code = macKeyCode(key->key(), key->nativeScanCode());
    // No modifier, a bare modifier key or a key the hot keys cannot use: not a combination.
    if (mask == 0 || !code) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so no shortcut fires; the key press that follows records it.
        event->accept();
        return true;
    }
    const std::string name = HotKeyKeys::displayName(*code, mask);
    const auto setting = recordingKey->setting;
    binding.edit([&](AppConfig& c) {
        (c.*setting).keyCode = *code;
        (c.*setting).modifiers = mask;
        (c.*setting).displayName = name;
    });
    stopRecording();
    return true;
}

void HotKeySection::hideEvent(QHideEvent* event) {
    stopRecording();
    SettingsSection::hideEvent(event);
}

void HotKeySection::sync() {
    syncRow(panelKey);
    syncRow(privacyKey);
}

void HotKeySection::syncRow(const KeyRow& row) {
    const HotKeySpec& hotkey = binding.config().*row.setting;
    {
        const QSignalBlocker block(row.enabled);
        row.enabled->setChecked(hotkey.enabled);
    }
    const bool recording = recordingKey == &row;
    // Named from the stored codes: a file written on a Mac holds "⌥⌘F" as its display name.
    const QString keys = QString::fromStdString(HotKeyKeys::displayName(hotkey.keyCode, hotkey.modifiers));
    row.record->setText(recording ? QStringLiteral("请按下组合键…") : keys);
    const QString which = row.setting == &AppConfig::privacyHotkey ? QStringLiteral("隐私模式") : QString();
    row.record->setAccessibleName(recording ? QStringLiteral("正在录制快捷键，请按下组合键")
                                            : which + QStringLiteral("录制快捷键，当前 ") + keys);
}

} // namespace glimmer

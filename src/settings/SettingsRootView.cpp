#include "settings/SettingsRootView.h"

#include "card/Theme.h"
#include "settings/AboutSection.h"
#include "settings/AlertSection.h"
#include "settings/AppearanceSection.h"
#include "settings/ConfigBinding.h"
#include "settings/HotKeySection.h"
#include "settings/SoundSection.h"
#include "settings/WatchlistSection.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

namespace glimmer {

namespace {

QString rgba(QColor color, double alpha) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(static_cast<int>(alpha * 255));
}

QPalette formPalette(bool dark) {
    const QColor window = dark ? QColor(0x1e, 0x1e, 0x20) : QColor(0xec, 0xec, 0xef);
    const QColor base = dark ? QColor(0x2c, 0x2c, 0x2f) : QColor(0xff, 0xff, 0xff);
    const QColor button = dark ? QColor(0x3a, 0x3a, 0x3d) : QColor(0xfb, 0xfb, 0xfd);
    const QColor text = dark ? QColor(0xe8, 0xe8, 0xea) : QColor(0x1d, 0x1d, 0x1f);
    const QColor accent = Theme::accent().resolve(dark);
    QPalette palette(button, window);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, window);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight, accent);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::PlaceholderText, dark ? QColor(0x8a, 0x8a, 0x90) : QColor(0x9a, 0x9a, 0xa0));
        palette.setColor(group, QPalette::ToolTipBase, base);
        palette.setColor(group, QPalette::ToolTipText, text);
    }
    const QColor disabled = dark ? QColor(0x70, 0x70, 0x75) : QColor(0xb0, 0xb0, 0xb5);
    palette.setColor(QPalette::Disabled, QPalette::Base, base);
    palette.setColor(QPalette::Disabled, QPalette::Window, window);
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    return palette;
}

QString formStyle(bool dark) {
    const QColor text = dark ? QColor(0xe8, 0xe8, 0xea) : QColor(0x1d, 0x1d, 0x1f);
    const QColor secondary = dark ? QColor(0xa0, 0xa0, 0xa6) : QColor(0x6e, 0x6e, 0x73);
    const QColor accent = Theme::accent().resolve(dark);
    const QColor segment = dark ? QColor(0x3a, 0x3a, 0x3d) : QColor(0xfb, 0xfb, 0xfd);
    return QStringLiteral(
               "QLabel[role=\"title\"] { color: %1; font-size: 13px; font-weight: 600; }"
               "QLabel[role=\"subtitle\"] { color: %2; font-size: 11px; }"
               "QLabel[role=\"hint\"] { color: %1; font-size: 11px; }"
               "QLabel[role=\"tag\"] { color: %1; background: %3; border-radius: 7px; padding: 1px 7px;"
               " font-size: 10px; }"
               "QFrame[role=\"divider\"] { background: %3; border: none; }"
               "QPushButton[role=\"hit\"] { border: none; border-radius: 5px; background: transparent; }"
               "QPushButton[role=\"hit\"]:hover, QPushButton[role=\"hit\"]:focus { background: %4; }"
               "QPushButton[role=\"chip\"] { color: %5; border: 1px solid transparent; border-radius: 5px;"
               " padding: 3px 9px; background: %6; }"
               "QPushButton[role=\"chip\"]:checked { background: %7; }"
               "QPushButton[role=\"chip\"]:focus { border-color: %8; }"
               "QPushButton[role=\"segment\"] { color: %5; background: %9; border: 1px solid %10;"
               " padding: 3px 14px; min-height: 18px; }"
               "QPushButton[role=\"segment\"][segment=\"first\"] { border-top-left-radius: 5px;"
               " border-bottom-left-radius: 5px; }"
               "QPushButton[role=\"segment\"][segment=\"middle\"] { border-left: none; }"
               "QPushButton[role=\"segment\"][segment=\"last\"] { border-left: none; border-top-right-radius: 5px;"
               " border-bottom-right-radius: 5px; }"
               "QPushButton[role=\"segment\"]:checked { background: %8; color: white; border-color: %8; }"
               "QPushButton[role=\"segment\"]:focus { border-color: %8; }")
        .arg(secondary.name(), rgba(secondary, 0.7), rgba(text, 0.08), rgba(accent, 0.14), text.name(),
             rgba(accent, 0.06), rgba(accent, 0.22), accent.name(), segment.name())
        .arg(rgba(text, 0.18));
}

QFont formFont() {
    QFont font;
    for (const QString& family : {QStringLiteral("PingFang SC"), QStringLiteral("Noto Sans CJK SC"),
                                  QStringLiteral("Microsoft YaHei")}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPixelSize(13);
    return font;
}

} // namespace

SettingsRootView::SettingsRootView(const AppConfig& config, std::function<void(const AppConfig&)> onSave,
                                   std::function<void()> onTestSound, std::function<void()> onResetPosition,
                                   QWidget* parent)
    : QScrollArea(parent) {
    working = new ConfigBinding(config, this);
    working->onSave = std::move(onSave);

    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(formFont());
    viewport()->setBackgroundRole(QPalette::Window);

    auto* column = new QWidget(this);
    column->setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(16);

    appearance = new AppearanceSection(*working, std::move(onResetPosition), column);
    watchlist = new WatchlistSection(*working, column);
    alerts = new AlertSection(*working, column);
    hotKey = new HotKeySection(*working, column);
    sound = new SoundSection(*working, std::move(onTestSound), column);
    about = new AboutSection(column);
    for (QWidget* section : std::initializer_list<QWidget*>{appearance, watchlist, alerts, hotKey, sound, about})
        layout->addWidget(section);
    layout->addStretch(1);
    setWidget(column);
    column->setAutoFillBackground(true);
    setDark(Theme::systemIsDark());
}

const AppConfig& SettingsRootView::config() const {
    return working->config();
}

void SettingsRootView::setDark(bool isDark) {
    dark = isDark;
    setStyleSheet(formStyle(dark));
    // The palette goes below the widget carrying the style sheet: re-polishing on a new sheet
    // restores the palette that widget had when first polished.
    const QPalette colours = formPalette(dark);
    viewport()->setPalette(colours);
    if (widget()) widget()->setPalette(colours);
    verticalScrollBar()->setPalette(colours);
}

QPalette SettingsRootView::colours() const {
    return formPalette(dark);
}

QSize SettingsRootView::sizeHint() const {
    return {640, 660};
}

} // namespace glimmer

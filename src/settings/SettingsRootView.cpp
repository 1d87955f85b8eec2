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
#include <QVBoxLayout>

#include <utility>

namespace glimmer {

namespace {

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

QFont formFont() {
    QFont font;
    for (const QString& family :
         {QStringLiteral("PingFang SC"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei")}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPixelSize(13);
    return font;
}

} // namespace

SettingsRootView::SettingsRootView(const AppConfig& config, ConfigBinding::EditHandler onEdit,
                                   std::function<void()> onTestSound, std::function<void()> onResetPosition,
                                   SymbolSearch::Lookup search, QWidget* parent)
    : QScrollArea(parent) {
    working = new ConfigBinding(config, this);
    working->onEdit = std::move(onEdit);

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
    watchlist = new WatchlistSection(*working, std::move(search), column);
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
    // Colours come from the palette alone (no style sheet), so they reach every child, including
    // rows built later.
    setPalette(formPalette(dark));
}

QPalette SettingsRootView::colours() const {
    return formPalette(dark);
}

QSize SettingsRootView::sizeHint() const {
    return {640, 660};
}

} // namespace glimmer

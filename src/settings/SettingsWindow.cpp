#include "settings/SettingsWindow.h"

#include "card/Theme.h"
#include "settings/ConfigBinding.h"
#include "settings/SettingsRootView.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include <utility>

namespace glimmer {

SettingsWindow::SettingsWindow(const AppConfig& config, ConfigBinding::EditHandler onEdit,
                               std::function<void()> onTestSound, std::function<void()> onResetPosition,
                               SymbolSearch::Lookup search, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Glimmerbox 设置"));
    setAccessibleName(QStringLiteral("Glimmerbox 设置"));
    root = new SettingsRootView(config, std::move(onEdit), std::move(onTestSound), std::move(onResetPosition),
                                std::move(search), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(root);
    setMinimumSize(620, 520);
    resize(660, 700);
    applyTheme(config.themeMode);
    connect(&root->binding(), &ConfigBinding::changed, this, [this] {
        if (root->config().themeMode != appliedMode) applyTheme(root->config().themeMode);
    });
}

void SettingsWindow::applyTheme(ThemeMode mode) {
    appliedMode = mode;
    Theme::applyMode(this, mode);
    const bool dark = Theme::isDark(this);
    root->setDark(dark);
    setPalette(root->colours());
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    if (onClose) onClose();
    QWidget::closeEvent(event);
}

void SettingsWindow::changeEvent(QEvent* event) {
    // The system's light/dark switch reaches a window that follows the system.
    if (event->type() == QEvent::ThemeChange && appliedMode == ThemeMode::system) applyTheme(appliedMode);
    QWidget::changeEvent(event);
}

} // namespace glimmer

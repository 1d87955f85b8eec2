#include "app/SettingsHost.h"

#include "settings/SettingsRootView.h"
#include "settings/SettingsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace glimmer {

SettingsHost::SettingsHost(Callbacks callbacks) : callbacks(std::move(callbacks)) {
}

SettingsHost::~SettingsHost() {
    delete window.data();
}

void SettingsHost::openSettings(const AppConfig& config) {
    if (window) {
        follow(config);
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    window = new SettingsWindow(config, callbacks.onEdit, callbacks.onTestSound, callbacks.onResetPosition,
                                callbacks.search);
    window->setWindowTitle(QStringLiteral("Glimmerbox 设置"));
    window->applyTheme(config.themeMode);
    window->onClose = [this] { windowWillClose(); };
    window->resize(660, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void SettingsHost::follow(const AppConfig& config) {
    if (window) window->rootView().binding().follow(config);
}

void SettingsHost::windowWillClose() {
    if (!window) return;
    // Released after the close finishes; the next open builds a fresh window.
    window->deleteLater();
    window.clear();
}

void SettingsHost::applyTheme(ThemeMode mode) {
    if (window) window->applyTheme(mode);
}

} // namespace glimmer

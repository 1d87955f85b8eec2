// Linux desktops: notifications on the session bus.
#include "app/notify/AlertNotifier.h"
#include "app/notify/DesktopNotifier.h"

#include "model/AppLog.h"

namespace glimmer {

std::unique_ptr<AlertNotifier> systemAlertNotifier() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        AppLog::write("INFO", "桌面通知不可用：没有会话总线");
        return nullptr;
    }
    return std::make_unique<DesktopNotifier>(bus);
}

} // namespace glimmer

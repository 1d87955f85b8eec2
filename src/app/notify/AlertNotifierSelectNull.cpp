// No desktop notifications on this platform yet: alerts sound and blink the tray only.
#include "app/notify/AlertNotifier.h"

namespace glimmer {

std::unique_ptr<AlertNotifier> systemAlertNotifier() {
    return nullptr;
}

} // namespace glimmer

#include "card/QtScreenSource.h"

#include <QGuiApplication>
#include <QScreen>

namespace glimmer {

std::vector<ScreenGeometry> QtScreenSource::screens() const {
    std::vector<ScreenGeometry> result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) result.push_back({primary->geometry(), primary->availableGeometry()});
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) result.push_back({screen->geometry(), screen->availableGeometry()});
    }
    return result;
}

const ScreenSource& ScreenSource::system() {
    static const QtScreenSource source;
    return source;
}

} // namespace glimmer

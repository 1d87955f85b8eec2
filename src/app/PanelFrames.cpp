#include "app/PanelFrames.h"

#include "card/DockGeometry.h"

namespace glimmer::PanelFrames {

Rect mainVisibleFrame(const std::vector<Screen>& screens) {
    return screens.empty() ? DockGeometry::fallbackVisibleFrame : screens.front().visibleFrame;
}

Rect defaultCornerFrame(double cardWidth, double cardHeight, const std::vector<Screen>& screens) {
    const Rect visible = mainVisibleFrame(screens);
    const double width = cardWidth + chromeSize;
    const double height = cardHeight + chromeSize;
    return {visible.maxX() - width - 16, visible.minY() + 12, width, height};
}

Rect startFrame(const AppConfig& config, const std::vector<Screen>& screens) {
    Rect frame = defaultCornerFrame(config.width, config.height, screens);
    if (config.originX && config.originY) {
        frame.x = *config.originX;
        frame.y = *config.originY;
    }
    if (config.dockPinned && config.dockSide) {
        return DockGeometry::dockedFrame(frame, *config.dockSide, DockGeometry::visibleFrame(frame, screens));
    }
    if (DockGeometry::isOffAllScreens(frame, screens)) {
        return defaultCornerFrame(config.width, config.height, screens);
    }
    return frame;
}

Rect resizedFrame(const Rect& old, double cardWidth, double cardHeight) {
    const double width = cardWidth + chromeSize;
    return {old.maxX() - width, old.minY(), width, cardHeight + chromeSize};
}

const char* sideName(DockSide side) {
    return side == DockSide::left ? "左侧" : "右侧";
}

} // namespace glimmer::PanelFrames

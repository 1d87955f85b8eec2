#include "card/DockGeometry.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"

#include <string>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;

std::string sideText(std::optional<DockSide> side) {
    if (!side) return "nil";
    return *side == DockSide::left ? "left" : "right";
}

std::string originText(const Rect& frame) {
    return format("origin=(%.0f, %.0f)", frame.x, frame.y);
}

} // namespace

void testDock() {
    CheckTally tally;
    // A 1440 x 900 screen with a 25 pt menu bar on top (screen space, y up).
    const Screen main{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
    const Rect visible = main.visibleFrame;
    const double w = 376;
    const double h = 242;
    const double snap = DockGeometry::snapTolerance;

    const Rect nearLeft{20, 300, w, h};
    auto side = DockGeometry::dockSide(nearLeft, visible, snap);
    tally.check(side == DockSide::left, "距左边 20pt 吸附左侧", "leftGap=20 side=" + sideText(side));

    const Rect nearRight{visible.maxX() - w - 20, 300, w, h};
    side = DockGeometry::dockSide(nearRight, visible, snap);
    tally.check(side == DockSide::right, "距右边 20pt 吸附右侧", "rightGap=20 side=" + sideText(side));

    const Rect centred{(visible.width - w) / 2, 300, w, h};
    side = DockGeometry::dockSide(centred, visible, snap);
    tally.check(!side, "居中不吸附", format("minX=%.0f side=", centred.x) + sideText(side));

    // Both gaps within reach of the preview: the nearer side wins.
    const Rect narrowVisible{0, 0, 800, 875};
    const Rect wide{30, 300, 700, h};
    side = DockGeometry::dockSide(wide, narrowVisible, DockGeometry::previewTolerance + 20);
    tally.check(side == DockSide::left, "两侧都近时取更近的一侧", "leftGap=30 rightGap=70 side=" + sideText(side));

    const Rect dockedLeft = DockGeometry::dockedFrame(nearLeft, DockSide::left, visible);
    tally.check(dockedLeft.minX() == visible.minX(), "左吸附贴紧屏幕左缘", format("minX=%.0f", dockedLeft.minX()));
    const Rect dockedRight = DockGeometry::dockedFrame(nearRight, DockSide::right, visible);
    tally.check(dockedRight.maxX() == visible.maxX(), "右吸附贴紧屏幕右缘", format("maxX=%.0f", dockedRight.maxX()));

    const Rect below = DockGeometry::dockedFrame({20, -120, w, h}, DockSide::left, visible);
    tally.check(below.minY() == visible.minY(), "纵向越界夹到可见区域底部", originText(below));
    const Rect above = DockGeometry::dockedFrame({20, 800, w, h}, DockSide::left, visible);
    tally.check(above.maxY() <= visible.maxY() && above.maxY() == visible.maxY(), "纵向越界不进菜单栏",
                originText(above) + format(" maxY=%.0f", above.maxY()));

    // A second screen to the right of a 1512-wide main screen.
    const Screen laptop{{0, 0, 1512, 982}, {0, 0, 1512, 950}};
    const Screen external{{1512, 0, 1920, 1080}, {1512, 0, 1920, 1055}};
    const std::vector<Screen> pair{laptop, external};
    const Rect onExternal{1512 + 20, 400, w, h};
    const Rect externalVisible = DockGeometry::visibleFrame(onExternal, pair);
    const Rect dockedExternal = DockGeometry::dockedFrame(onExternal, DockSide::left, externalVisible);
    tally.check(externalVisible == external.visibleFrame && dockedExternal.minX() == 1512 &&
                    DockGeometry::dockSide(onExternal, externalVisible, snap) == DockSide::left,
                "副屏 x=1512 使用自己的原点", format("minX=%.0f", dockedExternal.minX()));

    const Rect lost{5000, 5000, w, h};
    tally.check(DockGeometry::isOffAllScreens(lost, {main}), "不在任何屏幕上识别为离屏", originText(lost));
    tally.check(!DockGeometry::isOffAllScreens(centred, {main}), "屏幕内的窗口不算离屏", originText(centred));

    const Rect clamped = DockGeometry::clampedFrame({-500, -500, w, h}, visible);
    tally.check(clamped.origin() == visible.origin(), "clampedFrame 把 (-500,-500) 拉回可见原点", originText(clamped));

    const Rect atThreshold{snap, 300, w, h};
    side = DockGeometry::dockSide(atThreshold, visible, snap);
    tally.check(side == DockSide::left, "间距恰好等于阈值仍吸附", format("leftGap=%.0f side=", snap) + sideText(side));
    const Rect beyond{snap + 1, 300, w, h};
    side = DockGeometry::dockSide(beyond, visible, snap);
    tally.check(!side, "间距超出阈值 1pt 不吸附", format("leftGap=%.0f side=", snap + 1) + sideText(side));

    const Rect previewOnly{45, 300, w, h};
    const bool previews = DockGeometry::dockSide(previewOnly, visible, DockGeometry::previewTolerance).has_value();
    const bool docks = DockGeometry::dockSide(previewOnly, visible, snap).has_value();
    tally.check(DockGeometry::previewTolerance > snap && previews && !docks, "预览阈值宽于吸附阈值",
                format("preview=%.0f snap=%.0f leftGap=45", DockGeometry::previewTolerance, snap));

    tally.printCounted("吸附几何自测：");
}

} // namespace glimmer::SelfTest

#include "card/FloatingPanel.h"

#include "card/DockGeometry.h"
#include "card/ScreenSpace.h"
#include "card/ShadowCaster.h"
#include "card/Theme.h"
#include "card/WindowAnimation.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace glimmer {

FloatingPanel::FloatingPanel(const Rect& contentRect, const ScreenSource& screens)
    : QWidget(nullptr, windowFlagsFor(true, false)), screens(screens) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_MacAlwaysShowToolWindow); // stays visible when another application is in front
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setFrame(contentRect);
}

FloatingPanel::~FloatingPanel() = default;

Qt::WindowFlags FloatingPanel::windowFlagsFor(bool alwaysOnTop, bool acceptsFocus) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint;
    if (alwaysOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (!acceptsFocus) flags |= Qt::WindowDoesNotAcceptFocus;
    return flags;
}

void FloatingPanel::setAlwaysOnTop(bool onTop) {
    isOnTop = onTop;
    applyWindowFlags();
    // A window not created yet gets its hints when it is first ordered front.
    if (windowHandle() != nullptr) applyPlatformHints();
}

void FloatingPanel::applyWindowFlags() {
    const Qt::WindowFlags wanted = windowFlagsFor(isOnTop, acceptsFocus);
    if (windowFlags() == wanted) return;
    if (QWindow* window = windowHandle()) {
        // Only hints change: update the native window in place instead of recreating it, which
        // would hide it and lose its position and window-system states.
        overrideWindowFlags(wanted);
        window->setFlags(wanted);
    } else {
        setWindowFlags(wanted);
    }
}

Rect FloatingPanel::frame() const {
    return ScreenSpace::of(screens).fromGlobal(geometry().marginsRemoved(margins));
}

void FloatingPanel::setFrame(const Rect& frame) {
    setGeometry(ScreenSpace::of(screens).toGlobal(constrained(frame)).marginsAdded(margins));
}

void FloatingPanel::setFrameOrigin(const Point& origin) {
    Rect moved = frame();
    moved.x = origin.x;
    moved.y = origin.y;
    setFrame(moved);
}

Rect FloatingPanel::constrained(const Rect& frame) const {
    if (isOffscreenAllowed) return frame;
    const std::vector<Screen> displays = currentScreens(screens);
    if (displays.empty()) return frame;
    const Rect visible = DockGeometry::visibleFrame(frame, displays);
    Rect result = frame;
    if (result.maxY() > visible.maxY()) result.y = visible.maxY() - result.height;
    return result;
}

double FloatingPanel::alphaValue() const {
    return windowOpacity();
}

void FloatingPanel::setAlphaValue(double alpha) {
    setWindowOpacity(alpha);
}

void FloatingPanel::setContentView(QWidget* view) {
    if (view == content) return;
    if (content != nullptr) {
        layout()->removeWidget(content);
        content->deleteLater();
    }
    const Rect kept = frame();
    content = view;
    caster = dynamic_cast<const ShadowCaster*>(view);
    margins = caster != nullptr ? PanelShadow::margins(caster->bodyInsets()) : QMargins();
    layout()->setContentsMargins(margins);
    if (content != nullptr) layout()->addWidget(content);
    setFrame(kept);
    applyInputRegion();
    update();
}

void FloatingPanel::orderFront() {
    applyPlatformHints();
    show();
    raise();
}

void FloatingPanel::orderOut() {
    hide();
}

void FloatingPanel::retire() {
    // An animation still ticking until the deferred delete would move a window that is going away.
    for (WindowAnimation* animation : findChildren<WindowAnimation*>()) animation->cancel();
    orderOut();
    deleteLater();
}

void FloatingPanel::makeKeyAndOrderFront() {
    acceptsFocus = true;
    hasBeenKey = false;
    applyWindowFlags();
    applyPlatformHints();
    show();
    raise();
    activateWindow();
}

bool FloatingPanel::isKeyWindow() const {
    return isActiveWindow();
}

void FloatingPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (onMove) onMove();
}

void FloatingPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyInputRegion();
}

void FloatingPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The native window may be new, without the input region of an earlier one.
    applyInputRegion();
}

void FloatingPanel::paintEvent(QPaintEvent* event) {
    if (caster == nullptr) return;
    const QRectF body = QRectF(rect().marginsRemoved(margins)).marginsRemoved(caster->bodyInsets());
    const double radius = caster->bodyCornerRadius();
    // A repaint inside the body (the glow breathing on its edge) needs no shadow: the body hides it.
    const QRegion outside = event->region().subtracted(PanelShadow::hiddenUnder(body, radius));
    if (outside.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRegion(outside);
    shadow.paint(painter, body, radius, Theme::isDark(this));
}

void FloatingPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !acceptsFocus) return;
    // Once the user works elsewhere, clicks on the panel must not steal focus again. A deactivation
    // before the requested activation arrived (a flag change recreating the window) does not count.
    if (isActiveWindow()) {
        hasBeenKey = true;
    } else if (hasBeenKey) {
        acceptsFocus = false;
        hasBeenKey = false;
        applyWindowFlags();
    }
}

} // namespace glimmer

#pragma once

#include "card/ScreenRect.h"

class QObject;

namespace glimmer {

/// What the window animator needs from a window: its frame in screen space and its alpha.
class AnimatedWindow {
public:
    virtual ~AnimatedWindow() = default;
    virtual Rect frame() const = 0;
    virtual void setFrameOrigin(const Point& origin) = 0;
    virtual double alphaValue() const = 0;
    virtual void setAlphaValue(double alpha) = 0;
    /// Animations of this window are owned by this object, so they end when the window goes away.
    virtual QObject* animationHost() { return nullptr; }
};

} // namespace glimmer

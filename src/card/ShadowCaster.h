#pragma once

#include <QMarginsF>

namespace glimmer {

/// A panel's content whose opaque body casts the panel's shadow. The body is the content's rectangle
/// minus `bodyInsets` (transparent margins such as the card's gutter), rounded by `bodyCornerRadius`.
class ShadowCaster {
public:
    virtual ~ShadowCaster() = default;
    virtual QMarginsF bodyInsets() const = 0;
    virtual double bodyCornerRadius() const = 0;
};

} // namespace glimmer

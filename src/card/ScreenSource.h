#pragma once

#include <QRect>

#include <vector>

namespace glimmer {

/// One display as Qt reports it, in global top-left coordinates.
struct ScreenGeometry {
    QRect geometry;
    QRect availableGeometry;
};

/// Where the list of displays comes from; tests supply their own.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;
    /// Every display, the primary one first.
    virtual std::vector<ScreenGeometry> screens() const = 0;

    /// The displays of the running application.
    static const ScreenSource& system();
};

} // namespace glimmer

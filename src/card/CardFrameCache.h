#pragma once

#include "card/CardLayout.h"

#include <QImage>

class QPainter;
class QRegion;

namespace glimmer {

/// The card's body and its alert border, each drawn once into an image per size, pixel ratio and
/// theme. The glow breathes several times a second for as long as an alert lasts; filling and
/// stroking the rounded outline for every breath was most of an idle card's work.
class CardFrameCache {
public:
    /// Both draw only over `dirty`, the region being repainted.
    void paintBody(QPainter& painter, const CardLayout& layout, const QRegion& dirty, bool isDark);
    /// The alert border at `alpha` of the alert colour.
    void paintGlow(QPainter& painter, const CardLayout& layout, const QRegion& dirty, double alpha, bool isDark);

private:
    struct Key {
        QSizeF size;
        double ratio = 0;
        bool dark = false;
        bool operator==(const Key&) const = default;
    };
    struct Slot {
        QImage image;
        Key key;
    };

    static const QImage& imageFor(Slot& slot, const Key& key, void (*draw)(QPainter&, const CardLayout&, bool));

    Slot body;
    Slot glow;
};

} // namespace glimmer

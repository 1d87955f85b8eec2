#pragma once

#include "model/AppConfig.h"

#include <QColor>
#include <QString>

#include <array>

class QWidget;

namespace glimmer {

/// A colour with a light and a dark variant, resolved when it is drawn.
struct DynamicColor {
    QColor light;
    QColor dark;

    QColor resolve(bool isDark) const { return isDark ? dark : light; }
};

/// Every colour the card and its charts draw with. Red means up and green means down.
namespace Theme {

const DynamicColor& cardBackground();
const DynamicColor& cardBorder();
const DynamicColor& divider();
const DynamicColor& textPrimary();
const DynamicColor& textSecondary();
const DynamicColor& textTertiary();
const DynamicColor& up();
const DynamicColor& down();
const DynamicColor& flat();
const DynamicColor& mainFlow();
const DynamicColor& retailFlow();
const DynamicColor& avgLine();
const DynamicColor& gridLine();
const DynamicColor& preCloseLine();
const DynamicColor& fillUp();
const DynamicColor& fillDown();
const DynamicColor& alert();
const DynamicColor& accent();

/// Moving-average line colours, index i for the i-th period; later periods take the last colour.
const std::array<DynamicColor, 7>& maColors();
const DynamicColor& maColor(std::size_t index);

/// Signed yuan amount in Chinese units: "-1.23亿", "10万", "9999".
QString flowString(double amount);

/// Whether `widget`'s window draws dark: the window's own flag when one is set, else the platform.
bool isDark(const QWidget* widget);
/// Sets or clears (system mode) the window's dark flag; the next paint picks it up.
void applyMode(QWidget* window, ThemeMode mode);
/// The platform's colour scheme, or the palette's lightness where the scheme is unknown.
bool systemIsDark();

} // namespace Theme

} // namespace glimmer

#include "card/Theme.h"

#include "model/TextFormat.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace glimmer::Theme {
namespace {

constexpr const char* darkProperty = "glimmerDark";

QColor rgba(double r, double g, double b, double a) {
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

DynamicColor dyn(QColor light, QColor dark) {
    return DynamicColor{light, dark};
}

DynamicColor fixed(QColor colour) {
    return DynamicColor{colour, colour};
}

} // namespace

#define GLIMMER_COLOUR(name, light, dark)                                                                              \
    const DynamicColor& name() {                                                                                       \
        static const DynamicColor colour = dyn(light, dark);                                                           \
        return colour;                                                                                                 \
    }

GLIMMER_COLOUR(cardBackground, rgba(0.965, 0.968, 0.973, 1.0), rgba(0.078, 0.082, 0.098, 1.0))
GLIMMER_COLOUR(cardBorder, rgba(0, 0, 0, 0.14), rgba(1, 1, 1, 0.1))
GLIMMER_COLOUR(divider, rgba(0, 0, 0, 0.1), rgba(1, 1, 1, 0.08))
GLIMMER_COLOUR(textPrimary, rgba(0.1, 0.11, 0.13, 1.0), rgba(0.96, 0.97, 0.98, 1.0))
GLIMMER_COLOUR(textSecondary, rgba(0.36, 0.39, 0.44, 1.0), rgba(0.62, 0.65, 0.7, 1.0))
GLIMMER_COLOUR(textTertiary, rgba(0.52, 0.55, 0.59, 1.0), rgba(0.42, 0.45, 0.5, 1.0))
GLIMMER_COLOUR(up, rgba(0.8, 0.16, 0.19, 1.0), rgba(0.945, 0.271, 0.29, 1.0))
GLIMMER_COLOUR(down, rgba(0.06, 0.55, 0.31, 1.0), rgba(0.157, 0.749, 0.447, 1.0))
GLIMMER_COLOUR(flat, rgba(0.45, 0.47, 0.51, 1.0), rgba(0.72, 0.74, 0.78, 1.0))
GLIMMER_COLOUR(retailFlow, rgba(0.1, 0.42, 0.86, 1.0), rgba(0.29, 0.576, 0.96, 1.0))
GLIMMER_COLOUR(avgLine, rgba(0.85, 0.6, 0.1, 1.0), rgba(0.99, 0.79, 0.28, 1.0))
GLIMMER_COLOUR(gridLine, rgba(0, 0, 0, 0.08), rgba(1, 1, 1, 0.07))
GLIMMER_COLOUR(preCloseLine, rgba(0, 0, 0, 0.25), rgba(1, 1, 1, 0.22))
GLIMMER_COLOUR(fillUp, rgba(0.8, 0.16, 0.19, 0.16), rgba(0.945, 0.271, 0.29, 0.14))
GLIMMER_COLOUR(fillDown, rgba(0.06, 0.55, 0.31, 0.16), rgba(0.157, 0.749, 0.447, 0.14))
GLIMMER_COLOUR(alert, rgba(0.85, 0.1, 0.08, 1.0), rgba(1.0, 0.2, 0.16, 1.0))

#undef GLIMMER_COLOUR

// The main-force line is the same colour as rising prices, not merely an equal one.
const DynamicColor& mainFlow() {
    return up();
}

const DynamicColor& accent() {
    static const DynamicColor colour = fixed(rgba(0.957, 0.318, 0.118, 1.0));
    return colour;
}

const std::array<DynamicColor, 7>& maColors() {
    static const std::array<DynamicColor, 7> colours{
        dyn(rgba(0.15, 0.16, 0.18, 0.92), rgba(0.98, 0.98, 0.98, 0.92)),
        fixed(rgba(0.99, 0.79, 0.28, 0.95)),
        fixed(rgba(0.48, 0.83, 0.99, 0.95)),
        fixed(rgba(0.75, 0.55, 0.99, 0.95)),
        fixed(rgba(0.4, 0.92, 0.65, 0.95)),
        fixed(rgba(0.99, 0.56, 0.35, 0.95)),
        fixed(rgba(0.99, 0.36, 0.55, 0.95)),
    };
    return colours;
}

const DynamicColor& maColor(std::size_t index) {
    const auto& colours = maColors();
    return colours[std::min(index, colours.size() - 1)];
}

QString flowString(double amount) {
    const std::string sign = amount < 0 ? "-" : "";
    const double a = std::fabs(amount);
    if (a >= 1e8) return QString::fromStdString(sign + TextFormat::fixed(a / 1e8, 2) + "亿");
    if (a >= 10000) return QString::fromStdString(sign + TextFormat::fixed(a / 10000, 0) + "万");
    return QString::fromStdString(sign + TextFormat::fixed(a, 0));
}

bool systemIsDark() {
    if (!qGuiApp) return false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const auto scheme = QGuiApplication::styleHints()->colorScheme();
    if (scheme == Qt::ColorScheme::Dark) return true;
    if (scheme == Qt::ColorScheme::Light) return false;
#endif
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

bool isDark(const QWidget* widget) {
    if (widget) {
        const QVariant flag = widget->window()->property(darkProperty);
        if (flag.isValid()) return flag.toBool();
    }
    return systemIsDark();
}

void applyMode(QWidget* window, ThemeMode mode) {
    if (!window) return;
    switch (mode) {
    case ThemeMode::dark:
        window->setProperty(darkProperty, true);
        break;
    case ThemeMode::light:
        window->setProperty(darkProperty, false);
        break;
    case ThemeMode::system:
        window->setProperty(darkProperty, QVariant());
        break;
    }
    window->update();
}

} // namespace glimmer::Theme

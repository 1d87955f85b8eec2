#pragma once

#include <QRectF>
#include <QWidget>

#include <functional>

namespace glimmer {

/// The thin vertical opacity slider: minimum at the bottom, maximum at the top.
class MinimalSlider : public QWidget {
    Q_OBJECT
public:
    /// The width every owner gives it: the 11-point knob with a rim of dark background around it.
    static constexpr double width = 14;

    explicit MinimalSlider(QWidget* parent = nullptr);

    double minValue() const { return minimum; }
    double maxValue() const { return maximum; }
    double value() const { return current; }
    void setMinValue(double value);
    void setMaxValue(double value);
    void setValue(double value);
    /// Opacity of the whole slider, for owners that fade it in and out.
    double alpha() const { return opacity; }
    void setAlpha(double alpha);

    /// Every press and drag, with the new value.
    std::function<void(double)> onChange;
    /// The release that ends a press or drag.
    std::function<void()> onCommit;

    /// The track in widget coordinates (y down) for a slider of `size`.
    static QRectF trackRect(QSizeF size);
    /// Where `value` sits between the bounds, 0 to 1; an empty range counts as 0.0001 wide.
    static double fraction(double value, double minValue, double maxValue);
    /// The knob centre's y for that fraction.
    static double knobY(QSizeF size, double fraction);
    /// The value a pointer at height `y` selects.
    static double valueAt(double y, QSizeF size, double minValue, double maxValue);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void pick(double y);

    double minimum = 0.25;
    double maximum = 1.0;
    double current = 0.55;
    double opacity = 1.0;
    bool isTracking = false;
};

} // namespace glimmer

#pragma once

#include "card/Icons.h"

#include <QColor>
#include <QWidget>

#include <functional>

namespace glimmer {

/// A small round icon button on a dark disc, shown on hover. Its alpha fades it in and out; below
/// `clickableAlpha` it lets presses through to the view underneath.
class CardButton : public QWidget {
    Q_OBJECT
public:
    static constexpr double clickableAlpha = 0.2;

    CardButton(Icons::Icon icon, QWidget* parent = nullptr);

    double alpha() const { return currentAlpha; }
    void setAlpha(double alpha);
    QColor tint() const { return currentTint; }
    void setTint(const QColor& tint);

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Icons::Icon icon;
    double currentAlpha = 0;
    QColor currentTint = Qt::white;
    bool isPressed = false;
};

} // namespace glimmer

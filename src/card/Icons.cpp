#include "card/Icons.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <array>

namespace glimmer::Icons {

namespace {

QPainterPath stroked(const QPainterPath& line, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath padlock(bool locked) {
    // Body with a key hole cut out.
    const QRectF body = locked ? QRectF(3.5, 7.5, 10, 8) : QRectF(2.5, 7.5, 10, 8);
    QPainterPath shape;
    shape.addRoundedRect(body, 1.8, 1.8);
    QPainterPath hole;
    const double cx = body.center().x();
    hole.addEllipse(QPointF(cx, 10.7), 1.15, 1.15);
    hole.addRoundedRect(QRectF(cx - 0.55, 10.9, 1.1, 2.5), 0.5, 0.5);
    shape = shape.subtracted(hole.simplified());

    QPainterPath shackle;
    if (locked) {
        shackle.moveTo(5.6, 7.6);
        shackle.lineTo(5.6, 5.4);
        shackle.arcTo(QRectF(5.6, 2.3, 5.8, 6.2), 180, -180);
        shackle.lineTo(11.4, 7.6);
    } else {
        // Swung open: the right leg stays in the body, the left one is free.
        shackle.moveTo(10.6, 7.6);
        shackle.lineTo(10.6, 4.6);
        shackle.arcTo(QRectF(10.6, 1.5, 5.2, 5.6), 180, -180);
        shackle.lineTo(15.8, 5.8);
    }
    return shape.united(stroked(shackle, 1.6)).simplified();
}

QPainterPath xmark() {
    QPainterPath lines;
    lines.moveTo(4.5, 4.5);
    lines.lineTo(12.5, 12.5);
    lines.moveTo(12.5, 4.5);
    lines.lineTo(4.5, 12.5);
    return stroked(lines, 1.8);
}

QPainterPath splitRectangle(bool quarters) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(2.5, 3.5, 12, 10), 2.2, 2.2);
    QPainterPath lines = outline;
    lines.moveTo(2.5, 8.5);
    lines.lineTo(14.5, 8.5);
    if (quarters) {
        lines.moveTo(8.5, 3.5);
        lines.lineTo(8.5, 13.5);
    }
    return stroked(lines, 1.4).simplified();
}

QPainterPath eyeOutline() {
    QPainterPath almond;
    almond.moveTo(1.5, 8.5);
    almond.cubicTo(4.5, 3.6, 12.5, 3.6, 15.5, 8.5);
    almond.cubicTo(12.5, 13.4, 4.5, 13.4, 1.5, 8.5);
    almond.closeSubpath();
    QPainterPath pupil;
    pupil.addEllipse(QPointF(8.5, 8.5), 2.3, 2.3);
    return stroked(almond, 1.4).united(pupil).simplified();
}

QPainterPath eyeSlash() {
    QPainterPath slash;
    slash.moveTo(3.0, 2.5);
    slash.lineTo(14.0, 14.5);
    // A clear margin around the slash keeps it readable against the eye.
    const QPainterPath gap = stroked(slash, 3.4);
    return eyeOutline().subtracted(gap).united(stroked(slash, 1.4)).simplified();
}

QPainterPath build(Icon icon) {
    switch (icon) {
    case Icon::lockClosed:
        return padlock(true);
    case Icon::lockOpen:
        return padlock(false);
    case Icon::xmark:
        return xmark();
    case Icon::split1x2:
        return splitRectangle(false);
    case Icon::split2x2:
        return splitRectangle(true);
    case Icon::eye:
        return eyeOutline();
    case Icon::eyeSlash:
        return eyeSlash();
    }
    return {};
}

} // namespace

const QPainterPath& path(Icon icon) {
    static const std::array<QPainterPath, 7> paths{build(Icon::lockClosed), build(Icon::lockOpen),
                                                   build(Icon::xmark),      build(Icon::split1x2),
                                                   build(Icon::split2x2),   build(Icon::eye),
                                                   build(Icon::eyeSlash)};
    return paths[std::size_t(icon)];
}

void paint(QPainter& painter, Icon icon, const QRectF& box, const QColor& color) {
    const double side = std::min(box.width(), box.height());
    if (side <= 0) return;
    const double scale = side / designSize;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(scale, scale);
    painter.fillPath(path(icon), color);
    painter.restore();
}

} // namespace glimmer::Icons

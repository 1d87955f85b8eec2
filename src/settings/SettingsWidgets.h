#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace glimmer {

/// A small label on a faint rounded capsule ("ETF", "股票").
class CapsuleLabel : public QLabel {
    Q_OBJECT

public:
    explicit CapsuleLabel(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A one-point line in the text colour at low opacity.
class HairLine : public QWidget {
    Q_OBJECT

public:
    explicit HairLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A faintly filled rounded panel that sets a group apart (the suggestion list).
class SoftPanel : public QWidget {
    Q_OBJECT

public:
    explicit SoftPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A checkable button drawn as a rounded tile tinted with the accent colour: strongly when on,
/// faintly when off (moving-average chips, theme segments).
class TintButton : public QPushButton {
    Q_OBJECT

public:
    explicit TintButton(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer

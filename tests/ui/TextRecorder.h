#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QStringList>

#include <memory>

class QWidget;

namespace glimmer::testing {

/// A paint device that keeps the text of every drawText instead of pixels, so a test can read what
/// a widget wrote. It reports the metrics of a 96 dpi screen, as the offscreen platform does.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size);
    ~TextRecorder() override;

    QPaintEngine* paintEngine() const override;
    const QStringList& texts() const;

    /// The texts `widget` draws when rendered with its children.
    static QStringList textsOf(QWidget& widget);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    QSize area;
    std::unique_ptr<Engine> engine;
};

} // namespace glimmer::testing

#include "ui/TextRecorder.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QWidget>

namespace glimmer::testing {

class TextRecorder::Engine : public QPaintEngine {
public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts.append(item.text()); }
    Type type() const override { return QPaintEngine::User; }

    QStringList texts;
};

TextRecorder::TextRecorder(QSize size) : area(size), engine(std::make_unique<Engine>()) {
}

TextRecorder::~TextRecorder() = default;

QPaintEngine* TextRecorder::paintEngine() const {
    return engine.get();
}

const QStringList& TextRecorder::texts() const {
    return engine->texts;
}

QStringList TextRecorder::textsOf(QWidget& widget) {
    TextRecorder recorder(widget.size());
    widget.render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
    return recorder.texts();
}

int TextRecorder::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return area.width();
    case PdmHeight:
        return area.height();
    case PdmWidthMM:
        return area.width() * 254 / 960;
    case PdmHeightMM:
        return area.height() * 254 / 960;
    case PdmNumColors:
        return 1 << 24;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace glimmer::testing

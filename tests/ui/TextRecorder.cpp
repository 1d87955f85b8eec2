#include "ui/TextRecorder.h"

#include <QPaintEngine>
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

TextRecorder::TextRecorder(QSize size)
    : QImage(size, QImage::Format_ARGB32_Premultiplied), engine(std::make_unique<Engine>()) {
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

} // namespace glimmer::testing

#pragma once

#include <QImage>
#include <QStringList>

#include <memory>

class QWidget;

namespace glimmer::testing {

/// An image that keeps the text of every drawText instead of pixels, so a test can read what a
/// widget wrote. Its metrics are an image's: 96 dpi on the offscreen platform.
class TextRecorder : public QImage {
public:
    explicit TextRecorder(QSize size);
    ~TextRecorder() override;

    QPaintEngine* paintEngine() const override;
    const QStringList& texts() const;

    /// The texts `widget` draws when rendered with its children.
    static QStringList textsOf(QWidget& widget);

private:
    class Engine;
    std::unique_ptr<Engine> engine;
};

} // namespace glimmer::testing

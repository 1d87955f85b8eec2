// Pictures of the expanded group and of an overview of eight securities on a 1512 x 950 desktop,
// light and dark, composed from the real windows at their frames.
#include "LayoutSamples.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewCoordinator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace glimmer {
namespace {

constexpr Rect desktop{0, 0, 1512, 950};
constexpr double ratio = 2;

/// Displays of the picture's desktop, whatever the machine has.
class Desktop final : public ScreenSource {
public:
    std::vector<ScreenGeometry> screens() const override { return {{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}; }
};

void settle(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // The last window animations take their final tick a frame later.
    const qint64 end = timer.elapsed() + 100;
    while (timer.elapsed() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QImage background(bool dark) {
    QImage image((QSizeF(desktop.width, desktop.height) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, desktop.width, desktop.height);
    gradient.setColorAt(0, dark ? QColor(28, 36, 52) : QColor(196, 212, 230));
    gradient.setColorAt(1, dark ? QColor(52, 40, 64) : QColor(226, 214, 232));
    painter.fillRect(QRectF(0, 0, desktop.width, desktop.height), gradient);
    return image;
}

/// Paints the whole panel window, shadow included, where it lies on the desktop.
void place(QImage& image, FloatingPanel& panel) {
    if (!panel.isVisible() || panel.contentView() == nullptr) return;
    const Rect frame = panel.frame();
    const QMargins margins = panel.shadowMargins();
    QImage layer((QSizeF(panel.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    panel.render(&layer, QPoint(), QRegion(), QWidget::DrawChildren);
    QPainter painter(&image);
    painter.setOpacity(panel.alphaValue());
    painter.drawImage(QPointF(frame.x - margins.left(), desktop.maxY() - frame.maxY() - margins.top()), layer);
}

bool save(const QImage& image, const QString& path) {
    const bool saved = image.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

bool expandedGroup(const ScreenSource& screens, const QString& out, bool dark) {
    const ThemeMode mode = dark ? ThemeMode::dark : ThemeMode::light;
    FloatingPanel main({1120, 40, 376, 242}, screens);
    Theme::applyMode(&main, mode);
    auto* card = new StockCardView(nullptr, Clock::system(), screens);
    card->setEntry(samples::watchList(1)[0]);
    card->setExpandMode(true);
    card->setTotal(8);
    main.setContentView(card);
    main.orderFront();
    ExpandCoordinator coordinator(screens);
    coordinator.applyAppearance(mode);
    coordinator.expand(main, 376, 242, 350, 1.0, true, card->entry());
    settle([&] { return !coordinator.isAnimating(); });
    QImage image = background(dark);
    place(image, main);
    for (FloatingPanel* panel : coordinator.panels()) place(image, *panel);
    coordinator.collapseImmediately();
    return save(image, out + (dark ? "/expanded-dark.png" : "/expanded-light.png"));
}

bool overview(const ScreenSource& screens, const QString& out, bool dark) {
    OverviewCoordinator coordinator(screens);
    coordinator.applyAppearance(dark ? ThemeMode::dark : ThemeMode::light);
    coordinator.show(samples::watchList(8), ChartView::intraday, 350, 216, 1.0, true, desktop);
    settle([&] { return !coordinator.isAnimating(); });
    coordinator.headerCard()->prepareForPreview(1.0); // the header's controls as under the pointer
    QImage image = background(dark);
    for (FloatingPanel* panel : coordinator.listPanels()) place(image, *panel);
    place(image, *coordinator.headerPanel());
    coordinator.hide();
    return save(image, out + (dark ? "/overview-dark.png" : "/overview-light.png"));
}

} // namespace
} // namespace glimmer

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    const glimmer::Desktop screens;
    bool saved = true;
    for (const bool dark : {false, true}) {
        saved = glimmer::expandedGroup(screens, out, dark) && saved;
        saved = glimmer::overview(screens, out, dark) && saved;
    }
    return saved ? 0 : 1;
}

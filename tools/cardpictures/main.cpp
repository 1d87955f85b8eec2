// glimmer-card-pictures FOLDER: the pictures the README shows. The card of a held stock in its
// panel with the shadow, at the default and the minimum size, light and dark, drawn at 2x on a
// desktop-like backdrop so the transparent margins and the shadow read as they do on screen.
#include "../../tests/ui/CardSamples.h"
#include "card/CardLayout.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

using namespace glimmer;

QImage onBackdrop(const QImage& card, bool dark) {
    QImage picture(card.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(card.devicePixelRatio());
    QPainter painter(&picture);
    QLinearGradient backdrop(0, 0, picture.width(), picture.height());
    backdrop.setColorAt(0, dark ? QColor(38, 44, 58) : QColor(196, 210, 228));
    backdrop.setColorAt(1, dark ? QColor(20, 22, 30) : QColor(232, 226, 240));
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(card.size()) / card.devicePixelRatio()), backdrop);
    painter.drawImage(QPointF(0, 0), card);
    return picture;
}

QImage heldCard(Rect frame, bool dark) {
    FloatingPanel panel(Rect{100, 100, samples::panelWidth, samples::panelHeight});
    auto* card = new StockCardView;
    card->resize(samples::panelWidth, samples::panelHeight);
    card->setEntry(samples::cardEntry(true));
    card->setTotal(6);
    card->setIndex(1);
    panel.setContentView(card);
    Theme::applyMode(&panel, dark ? ThemeMode::dark : ThemeMode::light);
    panel.setFrame(frame);
    card->setEntry(samples::heldEntry(true));
    return onBackdrop(samples::renderWidget(panel, 2), dark);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glimmer-card-pictures FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) return 1;
    const std::pair<const char*, Rect> sizes[] = {
        {"default", {100, 100, samples::panelWidth, samples::panelHeight}},
        {"minimum", {100, 100, CardLayout::minimumPanelWidth, CardLayout::minimumPanelHeight}},
    };
    for (const auto& [name, frame] : sizes) {
        for (const bool dark : {false, true}) {
            const QString file =
                folder.filePath(QStringLiteral("card-holdings-%1-%2.png").arg(name, dark ? "dark" : "light"));
            if (!heldCard(frame, dark).save(file)) {
                std::fprintf(stderr, "could not write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}

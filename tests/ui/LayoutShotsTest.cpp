// Pictures of the expanded group and of an overview, composed from the real windows at their
// frames on a 1512 x 950 desktop. Writes PNGs only when GLIMMER_LAYOUT_SHOTS names a folder.
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewCoordinator.h"
#include "ui/FakeScreenSource.h"
#include "ui/LayoutSamples.h"
#include "ui/TestApplication.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>

namespace glimmer {
namespace {

using enum ChartView;

using testing::FakeScreenSource;

constexpr Rect desktop{0, 0, 1512, 950};
constexpr double ratio = 2;

class LayoutShots : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        const char* folder = std::getenv("GLIMMER_LAYOUT_SHOTS");
        if (folder == nullptr || *folder == 0) GTEST_SKIP() << "GLIMMER_LAYOUT_SHOTS is not set";
        out = QString::fromLocal8Bit(folder);
        QDir().mkpath(out);
    }

    static QImage background(bool dark) {
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
    static void place(QImage& image, FloatingPanel& panel) {
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

    QString out;
    bool hasApplication = (testing::ensureApplication(), true);
    FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
};

TEST_F(LayoutShots, ExpandedGroup) {
    for (const bool dark : {false, true}) {
        FloatingPanel main({1120, 40, 376, 242}, screens);
        Theme::applyMode(&main, dark ? ThemeMode::dark : ThemeMode::light);
        auto* card = new StockCardView(nullptr, Clock::system(), screens);
        card->setEntry(samples::watchList(1)[0]);
        card->setExpandMode(true);
        card->setTotal(8);
        main.setContentView(card);
        main.orderFront();
        ASSERT_TRUE(testing::waitForExposed(main));
        ExpandCoordinator coordinator(screens);
        coordinator.applyAppearance(dark ? ThemeMode::dark : ThemeMode::light);
        coordinator.expand(main, 376, 242, 350, 1.0, true, card->entry());
        ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
        testing::waitUntil([] { return false; }, 100);
        QImage image = background(dark);
        place(image, main);
        for (FloatingPanel* panel : coordinator.panels()) place(image, *panel);
        EXPECT_TRUE(image.save(out + (dark ? "/expanded-dark.png" : "/expanded-light.png")));
        coordinator.collapseImmediately();
    }
}

TEST_F(LayoutShots, OverviewOfEightSecurities) {
    for (const bool dark : {false, true}) {
        OverviewCoordinator coordinator(screens);
        coordinator.applyAppearance(dark ? ThemeMode::dark : ThemeMode::light);
        coordinator.show(samples::watchList(8), intraday, 350, 216, 1.0, true, desktop);
        ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
        testing::waitUntil([] { return false; }, 100);
        coordinator.headerCard()->prepareForPreview(1.0); // the header's controls as under the pointer
        QImage image = background(dark);
        for (FloatingPanel* panel : coordinator.listPanels()) place(image, *panel);
        place(image, *coordinator.headerPanel());
        EXPECT_TRUE(image.save(out + (dark ? "/overview-dark.png" : "/overview-light.png")));
        coordinator.hide();
    }
}

} // namespace
} // namespace glimmer

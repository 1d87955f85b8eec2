#include "card/StockCardView.h"
#include "diagnostics/RenderStage.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "market/ReplyText.h"
#include "model/AppPaths.h"

#include <cmath>

namespace glimmer::SelfTest {

namespace {

/// GLIMMERBOX_RENDER_OPACITY when it holds a number, else the configured opacity.
double renderOpacity(double configured) {
    const std::optional<std::string> text = AppPaths::processEnv("GLIMMERBOX_RENDER_OPACITY");
    if (!text) return configured;
    const std::optional<double> value = ReplyText::number(*text);
    return value ? *value : configured;
}

} // namespace

void renderPreview() {
    SelfTestGui::application();
    const std::optional<RenderInput> input = RenderInput::load();
    if (!input) return;
    const AppConfig& config = input->config;
    const int width = static_cast<int>(std::lround(config.width + StockCardView::leftGutter));
    const int height = static_cast<int>(std::lround(config.height + StockCardView::topStrip));
    const double opacity = renderOpacity(config.opacity);

    auto* card = new StockCardView;
    RenderStage stage(card, width, height);
    card->setEnabledViews({ChartViews::order.begin(), ChartViews::order.end()});
    card->setEntry(input->entry);
    card->setIndex(0);
    card->setTotal(static_cast<int>(config.watchlist.size()));
    card->setPinPaused(config.pinPaused);
    card->setOpacitySliderEnabled(config.hoverOpacitySlider);
    card->prepareForPreview(opacity);
    stage.show();

    for (const ChartView view : ChartViews::byNumber) {
        card->setView(view);
        const bool glowing = view == ChartView::fundFlow;
        card->setAlertActive(glowing);
        card->setAlertMessage(glowing ? std::optional<std::string>("主力连续 5 分钟净流出，累计减少 0.32 亿")
                                      : std::nullopt);
        card->prepareForPreview(opacity);
        SelfTestGui::settle(0.2);
        SelfTestGui::writePNG(card, "view" + std::to_string(ChartViews::stored(view)) + ".png");
    }

    card->setView(ChartView::intraday);
    card->setExpandMode(true);
    card->prepareForPreview(opacity);
    SelfTestGui::settle(0.2);
    SelfTestGui::writePNG(card, "view0-expanded.png");

    card->setExpandMode(false);
    card->setDockPreviewSide(DockSide::left);
    card->prepareForPreview(opacity);
    SelfTestGui::settle(0.2);
    SelfTestGui::writePNG(card, "dock-left.png");

    SelfTestReport::line("预览渲染完成");
}

} // namespace glimmer::SelfTest

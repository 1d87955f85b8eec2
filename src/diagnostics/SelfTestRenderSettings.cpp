#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "model/ConfigStore.h"
#include "settings/SettingsWindow.h"

namespace glimmer::SelfTest {

void renderSettings() {
    SelfTestGui::application();
    const AppConfig config = ConfigStore::load();
    // Edits go nowhere: a render never writes the configuration.
    SettingsWindow window(
        config, ConfigBinding::EditHandler(), [] {}, [] {},
        [](const std::string&) { return std::vector<SymbolHit>{}; });
    window.setWindowFlag(Qt::FramelessWindowHint, true);
    window.setMinimumSize(0, 0);
    window.resize(660, 760);
    window.move(SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition);
    window.applyTheme(forcedAppearance().value_or(config.themeMode));
    window.show();
    window.move(SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition);
    SelfTestGui::settle(0.25);
    SelfTestGui::settle(0.2);
    SelfTestGui::writePNG(&window, "settings.png");
    window.hide();
}

} // namespace glimmer::SelfTest

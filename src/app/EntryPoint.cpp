#include "app/EntryPoint.h"

#include "model/AppLog.h"
#include "model/ConfigStore.h"
#include "model/TextFormat.h"

#include <cmath>

namespace glimmer {

namespace {

std::string wholeNumber(double value) {
    if (!std::isfinite(value)) return TextFormat::shortest(value);
    return std::to_string(static_cast<long long>(std::trunc(value)));
}

} // namespace

std::string startLogLine(const AppConfig& config) {
    return "启动 v1.1.2（Brisko）股票池=" + std::to_string(config.watchlist.size()) + "只 尺寸=" +
           wholeNumber(config.width) + "x" + wholeNumber(config.height) + " 透明度=" +
           TextFormat::shortest(config.opacity) + " 刷新=" + wholeNumber(config.refreshSeconds) + "s";
}

int runEntryPoint(int, char**) {
    const AppConfig config = ConfigStore::load();
    AppLog::write("INFO", startLogLine(config));
    return 0;
}

} // namespace glimmer

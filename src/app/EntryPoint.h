#pragma once

#include "model/AppConfig.h"

#include <string>

namespace glimmer {

/// The process entry: loads (creates, migrates) the configuration and runs the program.
int runEntryPoint(int argc, char** argv);

/// "启动 v<version>（<codename>）股票池=3只 尺寸=350x216 透明度=0.55 刷新=30s"
std::string startLogLine(const AppConfig& config);

} // namespace glimmer

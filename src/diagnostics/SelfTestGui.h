#pragma once

#include <QString>

#include <string>

class QApplication;
class QWidget;

namespace glimmer::SelfTestGui {

/// The application object the window and render modes need. Without a display (no DISPLAY or
/// WAYLAND_DISPLAY) Qt's offscreen platform is chosen before the application is created.
QApplication& application();

/// Runs the event loop for `seconds` so that layout and painting settle.
void settle(double seconds);

/// Where renders go: "artifacts" under the working directory, created when missing.
std::string artifactsDir();

/// Renders `view` into a bitmap of its bounds at the display's pixel ratio, writes it as PNG into
/// the artifacts folder and prints "已输出 <name> <w>x<h>" (or "无法创建位图：<name>").
bool writePNG(QWidget* view, const std::string& name);

/// Far away from every screen, so render windows never flash on a real display.
inline constexpr int offscreenPosition = -3000;

} // namespace glimmer::SelfTestGui

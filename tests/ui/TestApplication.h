#pragma once

#include <QPoint>
#include <Qt>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace glimmer::testing {

/// The process's QApplication, created on first use unless some other test already made one.
/// Widget tests call this before building windows.
void ensureApplication();

/// Processes events until `condition` holds or `timeoutMs` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 2000);
/// Waits until the window of `widget` is shown on its screen.
bool waitForExposed(QWidget& widget);

/// Mouse events delivered straight to `widget`, positions in its own coordinates.
void mousePress(QWidget& widget, QPoint position, Qt::MouseButton button = Qt::LeftButton);
void mouseDrag(QWidget& widget, QPoint position, Qt::MouseButtons buttons = Qt::LeftButton);
void mouseRelease(QWidget& widget, QPoint position, Qt::MouseButton button = Qt::LeftButton);

/// The program log from the moment this object is made, its lines without time stamps.
class LogTail {
public:
    LogTail();
    std::vector<std::string> lines(const std::string& containing = "") const;
    bool has(const std::string& text) const { return count(text) > 0; }
    int count(const std::string& text) const;
    /// The lines written since the last call (or since the start).
    std::vector<std::string> take();

private:
    std::size_t start, taken;
};

} // namespace glimmer::testing

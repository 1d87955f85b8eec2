#include "ui/TestApplication.h"

#include "model/AppPaths.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <sstream>

namespace glimmer::testing {

void ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "glimmer_ui_tests";
    static char* argv[] = {name, nullptr};
    // Lives for the rest of the process; destroying it at exit would race gtest's own teardown.
    new QApplication(argc, argv);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

bool waitForExposed(QWidget& widget) {
    return waitUntil([&] { return widget.windowHandle() != nullptr && widget.windowHandle()->isExposed(); });
}

namespace {

void sendMouse(QWidget& widget, QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF local(position);
    QMouseEvent event(type, local, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

std::vector<std::string> linesOf(const std::string& log, const std::string& containing) {
    std::vector<std::string> found;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.find(containing) != std::string::npos) found.push_back(line.substr(line.find("] ") + 2));
    return found;
}

} // namespace

void mousePress(QWidget& widget, QPoint position, Qt::MouseButton button) {
    sendMouse(widget, QEvent::MouseButtonPress, position, button, button);
}

void mouseDrag(QWidget& widget, QPoint position, Qt::MouseButtons buttons) {
    sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, buttons);
}

void mouseRelease(QWidget& widget, QPoint position, Qt::MouseButton button) {
    sendMouse(widget, QEvent::MouseButtonRelease, position, button, Qt::NoButton);
}

LogTail::LogTail() : start(readFile(AppPaths::logFile()).size()), taken(start) {
}

std::vector<std::string> LogTail::lines(const std::string& containing) const {
    return linesOf(readFile(AppPaths::logFile()).substr(start), containing);
}

int LogTail::count(const std::string& text) const {
    const std::string log = readFile(AppPaths::logFile()).substr(start);
    int count = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
}

std::vector<std::string> LogTail::take() {
    const std::string log = readFile(AppPaths::logFile());
    return linesOf(log.substr(std::exchange(taken, log.size())), "");
}

} // namespace glimmer::testing
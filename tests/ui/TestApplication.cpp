#include "ui/TestApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>
#include <QWindow>

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
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

bool waitForExposed(QWidget& widget) {
    return waitUntil([&] { return widget.windowHandle() != nullptr && widget.windowHandle()->isExposed(); });
}

namespace {

void sendMouse(QWidget& widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPointF local(position);
    QMouseEvent event(type, local, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
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

} // namespace glimmer::testing

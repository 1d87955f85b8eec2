#include "diagnostics/SelfTestGui.h"

#include "diagnostics/SelfTestReport.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace glimmer::SelfTestGui {

namespace {

bool hasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

QApplication& application() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    // An explicit platform choice stands; without one and without a display, draw offscreen.
    if (!hasDisplay()) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "glimmerbox";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the process ends right after the mode, and tearing Qt down at exit only
    // races the threads it started.
    static QApplication* app = new QApplication(argc, argv);
    // As in the program: the report's figures keep their decimal point under a comma locale.
    std::setlocale(LC_NUMERIC, "C");
    app->setQuitOnLastWindowClosed(false);
    return *app;
}

void settle(double seconds) {
    // A nested loop sleeps between events; polling processEvents kept a core busy for the wait.
    QEventLoop loop;
    QTimer::singleShot(std::max(0, static_cast<int>(seconds * 1000)), &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents();
}

std::string artifactsDir() {
    const std::filesystem::path dir = std::filesystem::current_path() / "artifacts";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return dir.string();
}

bool writePNG(QWidget* view, const std::string& name) {
    if (!view || view->width() <= 0 || view->height() <= 0) {
        SelfTestReport::line("无法创建位图：" + name);
        return false;
    }
    const qreal ratio = view->devicePixelRatioF();
    QImage image(view->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        SelfTestReport::line("无法创建位图：" + name);
        return false;
    }
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    view->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const std::filesystem::path file = std::filesystem::path(artifactsDir()) / name;
    if (!image.save(QString::fromStdString(file.string()), "PNG")) {
        SelfTestReport::line("无法创建位图：" + name);
        return false;
    }
    SelfTestReport::line("已输出 " + name + " " + std::to_string(image.width()) + "x" + std::to_string(image.height()));
    return true;
}

} // namespace glimmer::SelfTestGui

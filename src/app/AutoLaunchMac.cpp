// Login entries on macOS: a per-user LaunchAgent, unloaded with launchctl.
#include "app/AutoLaunch.h"
#include "model/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QString>

#include <unistd.h>

namespace glimmer::AutoLaunch {

namespace {

void launchctlBootout(const std::string& which) {
    QProcess launchctl;
    launchctl.setStandardOutputFile(QProcess::nullDevice());
    launchctl.setStandardErrorFile(QProcess::nullDevice());
    const QString target = QStringLiteral("gui/%1/%2").arg(::getuid()).arg(QString::fromStdString(which));
    launchctl.start(QStringLiteral("/bin/launchctl"), {QStringLiteral("bootout"), target});
    // Not starting is ignored, and so is the exit status.
    if (launchctl.waitForStarted()) launchctl.waitForFinished(-1);
}

} // namespace

Host systemHost() {
    Host host;
    host.format = launchAgentFormat();
    host.agentDir = AppPaths::homeDir() / "Library" / "LaunchAgents";
    // The executable sits in <bundle>.app/Contents/MacOS.
    if (QCoreApplication::instance() != nullptr) {
        QDir bundle(QCoreApplication::applicationDirPath());
        if (bundle.cdUp() && bundle.cdUp())
            host.runningPath = std::filesystem::path(bundle.absolutePath().toStdString());
    }
    host.logDir = AppPaths::appSupportDir();
    host.bootout = launchctlBootout;
    return host;
}

} // namespace glimmer::AutoLaunch

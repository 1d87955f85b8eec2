#include "app/EntryPoint.h"

#include "app/AppDelegate.h"
#include "app/DiagnosticModes.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
#include "app/TerminationSignals.h"
#include "app/Version.h"
#include "app/WindowSystemChoice.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "app/notify/AlertNotifier.h"
#include "diagnostics/SelfTest.h"
#include "market/MarketAPI.h"
#include "market/MarketStore.h"
#include "model/AppLog.h"
#include "model/AppPaths.h"
#include "model/ConfigStore.h"
#include "model/TextFormat.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>
#include <QMetaObject>
#include <QTimer>

#include <clocale>
#include <memory>

namespace glimmer {

std::string startLogLine(const AppConfig& config) {
    return std::string("启动 v") + appVersion + "（" + appCodename +
           "）股票池=" + std::to_string(config.watchlist.size()) + "只 尺寸=" + TextFormat::whole(config.width) + "x" +
           TextFormat::whole(config.height) + " 透明度=" + TextFormat::shortest(config.opacity) +
           " 刷新=" + TextFormat::whole(config.refreshSeconds) + "s";
}

int runEntryPoint(int argc, char** argv) {
    if (const std::optional<std::string> mode = DiagnosticModes::firstSwitchOn(AppPaths::processEnv)) {
        // A diagnostic mode replaces the application; its outcome never changes the exit status.
        SelfTest::runSwitch(*mode);
        return 0;
    }

    const WindowSystemChoice windowSystem = chooseWindowSystem(AppPaths::processEnv);
    if (windowSystem.platform) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*windowSystem.platform));
    if (!windowSystem.logLine.empty()) AppLog::write("INFO", windowSystem.logLine);

    QApplication application(argc, argv);
    // Qt sets the C library's locale from the environment; numbers the program writes keep their
    // decimal point under a comma locale. Qt's own widgets still follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    // No display name: Qt appends it to every window title ("Glimmerbox 设置 — …").
    QApplication::setApplicationName(QStringLiteral("Glimmerbox"));
    QApplication::setDesktopFileName(QStringLiteral("glimmerbox"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("glimmerbox"), StatusBarController::icon(QApplication::palette())));
    // Closing the settings window or hiding the card never ends the program; only quitting does.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's raster painter splits larger fills over the global pool's threads; letting them expire
    // between frames started a new thread for almost every breath of the alert glow.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);

    // Store callbacks hop onto the main thread through the event loop.
    MainPoster poster = [](std::function<void()> task) {
        QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
    };
    // Never released (but reachable, so leak checkers stay quiet): a symbol lookup still running
    // at exit may use the client.
    static MarketAPI* const client = new MarketAPI;
    MarketAPI& http = *client;
    SourceHealth health;
    const FetchContext fetchContext =
        FetchContext::fromEnvironment(http, health, Clock::system(), AppPaths::processEnv);
    auto store = std::make_unique<MarketStore>(ConfigStore::load(), poster, fetchContext);
    const std::unique_ptr<AlertNotifier> notifier = systemAlertNotifier();
    auto delegate = std::make_unique<AppDelegate>(
        *store, AppDelegate::Services{SoundPlayer::shared(), HotKeyCenter::shared(), ScreenSource::system(),
                                      TaskScheduler::main(), notifier.get()});
    AppDelegate* running = delegate.get();
    TerminationSignals terminationSignals([running] { running->quit(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, running,
                     [running] { running->applicationWillTerminate(); });
    QTimer::singleShot(0, running, [running] { running->applicationDidFinishLaunching(); });

    const int status = QApplication::exec();
    // The position is stored; quitting never waits for the network. The pass in progress ends at
    // once and keeps nothing, so the store's queue is free by the time it is destroyed.
    store->abandon();
    http.abandonTransfers();
    delegate.reset();
    store.reset();
    return status;
}

} // namespace glimmer

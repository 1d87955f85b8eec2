#include "app/StatusBarController.h"

#include "model/TextFormat.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>

namespace glimmer {

namespace {

QPixmap chartIcon(const QColor& color, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 22.0;
    QPen axis(color, 1.6 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(axis);
    painter.drawLine(QPointF(3 * s, 3 * s), QPointF(3 * s, 19 * s));
    painter.drawLine(QPointF(3 * s, 19 * s), QPointF(19 * s, 19 * s));
    QPainterPath trend;
    trend.moveTo(5.5 * s, 15 * s);
    trend.lineTo(9.5 * s, 10.5 * s);
    trend.lineTo(12.5 * s, 13 * s);
    trend.lineTo(18 * s, 6 * s);
    painter.setPen(QPen(color, 2.0 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(trend);
    painter.drawLine(QPointF(18 * s, 6 * s), QPointF(14.5 * s, 6 * s));
    painter.drawLine(QPointF(18 * s, 6 * s), QPointF(18 * s, 9.5 * s));
    return pixmap;
}

QIcon iconIn(const QColor& color) {
    QIcon result;
    for (int size : {16, 22, 32, 48, 64}) result.addPixmap(chartIcon(color, size));
    return result;
}

} // namespace

StatusBarController::StatusBarController(TaskScheduler& scheduler, QObject* parent)
    : QObject(parent), scheduler(scheduler), itemMenu(std::make_unique<QMenu>()) {
    normalIcon = icon(QGuiApplication::palette());
    item = new QSystemTrayIcon(normalIcon, this);
    qApp->installEventFilter(this);
    item->setToolTip(QString::fromUtf8(toolTip));

    QMenu& m = *itemMenu;
    connect(m.addAction(QStringLiteral("呼出 / 隐藏浮窗")), &QAction::triggered, this, [this] { toggleAction(); });
    privacy = m.addAction(QStringLiteral("隐私模式"));
    privacy->setCheckable(true);
    privacy->setToolTip(QStringLiteral("金额和持股数显示为 ****"));
    connect(privacy, &QAction::triggered, this, [this] {
        if (onTogglePrivacy) onTogglePrivacy();
    });
    m.addSeparator();
    QAction* settings = m.addAction(QStringLiteral("设置…"));
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    connect(settings, &QAction::triggered, this, [this] { settingsAction(); });
    connect(m.addAction(QStringLiteral("关于 澜汐看板")), &QAction::triggered, this, [this] { aboutAction(); });
    m.addSeparator();
    QAction* quit = m.addAction(QStringLiteral("退出"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, [this] { quitAction(); });

    // Trays open the context menu themselves on the secondary click; the primary click toggles.
    item->setContextMenu(itemMenu.get());
    connect(item, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { handleClick(reason); });
    // Shown even without a tray: Qt watches for a tray that starts later (autostart at login often
    // runs before the panel) only for an icon that is shown.
    item->show();
}

StatusBarController::~StatusBarController() {
    if (blinkTimer) scheduler.cancel(*blinkTimer);
    if (item) item->setContextMenu(nullptr);
}

bool StatusBarController::isTrayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

StatusTitle StatusBarController::title() const {
    if (currentAlert) return {StatusTitle::Style::alert, " ⚠ " + *currentAlert, isBlinkOn ? 1.0 : 0.18};
    if (currentNormal && !currentNormal->empty()) return {StatusTitle::Style::security, " " + *currentNormal, 1};
    return {};
}

QString StatusBarController::toolTipText() const {
    const StatusTitle current = title();
    QString text = current.style == StatusTitle::Style::iconOnly ? QString::fromUtf8(toolTip)
                                                                 : QString::fromStdString(current.text).trimmed();
    if (currentHoldings && !currentHoldings->empty())
        text += QLatin1Char('\n') + QString::fromStdString(*currentHoldings);
    return text;
}

void StatusBarController::setPrivacyMode(bool on) {
    const QSignalBlocker quiet(privacy);
    privacy->setChecked(on);
}

void StatusBarController::applyTitle() {
    if (!item) return;
    item->setIcon(title().style == StatusTitle::Style::alert && isBlinkOn ? alertIcon() : normalIcon);
    item->setToolTip(toolTipText());
}

void StatusBarController::startAlertBlink(const std::string& message) {
    currentAlert = message;
    isBlinkOn = true;
    applyTitle();
    if (blinkTimer) scheduler.cancel(*blinkTimer);
    blinkTimer = scheduler.scheduleRepeating(blinkInterval, [this] {
        isBlinkOn = !isBlinkOn;
        applyTitle();
    });
}

void StatusBarController::stopAlertBlink() {
    if (blinkTimer) scheduler.cancel(*blinkTimer);
    blinkTimer.reset();
    currentAlert.reset();
    isBlinkOn = false;
    applyTitle();
}

void StatusBarController::handleClick(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Context) return;
    if (reason == QSystemTrayIcon::Trigger) toggleAction();
}

void StatusBarController::toggleAction() const {
    if (onTogglePanel) onTogglePanel();
}

void StatusBarController::settingsAction() const {
    if (onOpenSettings) onOpenSettings();
}

void StatusBarController::aboutAction() const {
    if (onAbout) onAbout();
}

void StatusBarController::quitAction() const {
    if (onQuit) onQuit();
}

bool StatusBarController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
        normalIcon = icon(QGuiApplication::palette());
        applyTitle();
    }
    return QObject::eventFilter(watched, event);
}

QIcon StatusBarController::icon(const QPalette& palette) {
    // Panels follow the desktop's colour scheme, which reaches us as the palette of the platform theme.
    return iconIn(palette.color(QPalette::Active, QPalette::WindowText));
}

QIcon StatusBarController::alertIcon() {
    static const QIcon red = iconIn(QColor(0xff, 0x3b, 0x30));
    return red;
}

std::string StatusBarController::securityText(const std::optional<MarketEntry>& entry) {
    if (!entry || !entry->quote) return "澜汐";
    const Quote& quote = *entry->quote;
    std::string name = quote.name;
    if (TextFormat::utf8Length(name) >= 5) name = TextFormat::utf8Prefix(name, 4);
    const double pct = quote.prevClose > 0 ? (quote.price - quote.prevClose) / quote.prevClose * 100 : 0;
    return name + " " + TextFormat::signedFixed(pct, 2) + "%";
}

} // namespace glimmer

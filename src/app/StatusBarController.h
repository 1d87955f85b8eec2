#pragma once

#include "app/TaskScheduler.h"
#include "model/MarketEntry.h"

#include <QIcon>
#include <QObject>
#include <QPalette>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;

namespace glimmer {

/// What the tray item shows: the title text and how it is drawn.
struct StatusTitle {
    enum class Style { iconOnly, security, alert };
    Style style = Style::iconOnly;
    std::string text;    // "" for icon only
    double redAlpha = 1; // alert text: 1 while the blink is on, 0.18 while off

    bool operator==(const StatusTitle&) const = default;
};

/// The tray item: an icon, the security text while the panel is hidden, a blinking alert text and
/// a small menu. Trays that show no text get the texts as tool tip, and the blink alternates the
/// normal icon with a red alert icon. Without any tray the program runs on, and a tray that starts
/// later gets the item.
class StatusBarController : public QObject {
    Q_OBJECT
public:
    explicit StatusBarController(TaskScheduler& scheduler = TaskScheduler::main(), QObject* parent = nullptr);
    ~StatusBarController() override;

    QSystemTrayIcon* statusItem() const { return item; }
    QMenu* menu() const { return itemMenu.get(); }
    bool isBlinking() const { return blinkTimer.has_value(); }
    bool blinkOn() const { return isBlinkOn; }
    const std::optional<std::string>& alertMessage() const { return currentAlert; }
    const std::optional<std::string>& normalText() const { return currentNormal; }
    void setNormalText(std::optional<std::string> text) { currentNormal = std::move(text); }
    /// The holdings totals ("今日盈亏 … / 持仓盈亏 …"), added under every tool tip; none without holdings.
    const std::optional<std::string>& holdingsLine() const { return currentHoldings; }
    void setHoldingsLine(std::optional<std::string> line) { currentHoldings = std::move(line); }
    /// The tool tip the item shows now.
    QString toolTipText() const;
    /// Checks the menu's privacy entry without reporting it as a click.
    void setPrivacyMode(bool on);
    QAction* privacyAction() const { return privacy; }
    /// The title as the fields give it now.
    StatusTitle title() const;
    /// Whether a tray exists to show the item in.
    bool isTrayAvailable() const;

    /// Renders icon, tool tip and title from the fields.
    void applyTitle();
    void startAlertBlink(const std::string& message);
    void stopAlertBlink();
    /// The item's click: a plain click toggles the panel; the context click opens the menu.
    void handleClick(QSystemTrayIcon::ActivationReason reason);

    void toggleAction() const;
    void settingsAction() const;
    void aboutAction() const;
    void quitAction() const;

    std::function<void()> onTogglePanel;
    std::function<void()> onTogglePrivacy;
    std::function<void()> onOpenSettings;
    std::function<void()> onAbout;
    std::function<void()> onQuit;

    /// The monochrome chart icon in the palette's text colour, so it is light on a dark panel and dark
    /// on a light one; and its red variant for the alert blink.
    static QIcon icon(const QPalette& palette);
    static QIcon alertIcon();
    /// The tray text of a security: its name (first four characters of a longer one), a space and
    /// the signed percent change; "澜汐" without a quote.
    static std::string securityText(const std::optional<MarketEntry>& entry);

    static constexpr const char* toolTip = "点击呼出/隐藏浮窗，右键打开菜单";
    static constexpr double blinkInterval = 0.55;

protected:
    /// Redraws the icon when the platform theme's palette changes (a dark panel chosen at run time).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TaskScheduler& scheduler;
    QSystemTrayIcon* item = nullptr;
    std::unique_ptr<QMenu> itemMenu;
    std::optional<TaskScheduler::TaskId> blinkTimer;
    bool isBlinkOn = false;
    std::optional<std::string> currentAlert;
    std::optional<std::string> currentNormal;
    std::optional<std::string> currentHoldings;
    QAction* privacy = nullptr;
    QIcon normalIcon;
};

} // namespace glimmer

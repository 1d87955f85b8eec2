#pragma once

#include "market/SymbolSearch.h"
#include "model/AppConfig.h"
#include "settings/ConfigBinding.h"

#include <QScrollArea>

#include <functional>

namespace glimmer {

class AboutSection;
class AlertSection;
class AppearanceSection;
class HotKeySection;
class SoundSection;
class WatchlistSection;

/// The settings form: one scrolling column of section cards editing a working copy of the
/// configuration. Every change is handed to `onEdit` as the edit itself.
class SettingsRootView : public QScrollArea {
    Q_OBJECT

public:
    SettingsRootView(const AppConfig& config, ConfigBinding::EditHandler onEdit, std::function<void()> onTestSound,
                     std::function<void()> onResetPosition, SymbolSearch::Lookup search, QWidget* parent = nullptr);

    /// The working copy as edited so far.
    const AppConfig& config() const;
    ConfigBinding& binding() const { return *working; }

    /// Colours of the light or dark appearance for every card and control.
    void setDark(bool dark);
    bool isDark() const { return dark; }
    /// The colours of the current appearance.
    QPalette colours() const;

    AppearanceSection* appearanceSection() const { return appearance; }
    WatchlistSection* watchlistSection() const { return watchlist; }
    AlertSection* alertSection() const { return alerts; }
    HotKeySection* hotKeySection() const { return hotKey; }
    SoundSection* soundSection() const { return sound; }
    AboutSection* aboutSection() const { return about; }

    QSize sizeHint() const override;

private:
    ConfigBinding* working = nullptr;
    AppearanceSection* appearance = nullptr;
    WatchlistSection* watchlist = nullptr;
    AlertSection* alerts = nullptr;
    HotKeySection* hotKey = nullptr;
    SoundSection* sound = nullptr;
    AboutSection* about = nullptr;
    bool dark = false;
};

} // namespace glimmer

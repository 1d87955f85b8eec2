// Linux desktops (GNOME, KDE Plasma, Xfce, Deepin) call it the colour scheme.
#include "settings/DesktopWords.h"

namespace glimmer::DesktopWords {

const char* appearanceHint() {
    return "跟随系统时随桌面的配色方案（浅色 / 深色）自动切换";
}

} // namespace glimmer::DesktopWords

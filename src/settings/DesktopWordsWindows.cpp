// Windows calls it the colour mode.
#include "settings/DesktopWords.h"

namespace glimmer::DesktopWords {

const char* appearanceHint() {
    return "跟随系统时随 Windows 颜色模式自动切换";
}

} // namespace glimmer::DesktopWords

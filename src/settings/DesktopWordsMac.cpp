// macOS calls it the appearance.
#include "settings/DesktopWords.h"

namespace glimmer::DesktopWords {

const char* appearanceHint() {
    return "跟随系统时随 macOS 外观自动切换";
}

} // namespace glimmer::DesktopWords

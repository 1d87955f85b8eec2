#pragma once

namespace glimmer::DesktopWords {

/// The appearance hint under the theme choice, in the words of this platform's desktop
/// (one file per platform).
const char* appearanceHint();

} // namespace glimmer::DesktopWords

// Platforms whose tool windows already stay out of the taskbar need nothing more.
#include "card/FloatingPanel.h"

namespace glimmer {

void FloatingPanel::applyPlatformHints() {}

} // namespace glimmer

// Platforms whose tool windows already stay out of the taskbar need nothing more; a press on the
// shadow margin lands on the panel, which ignores it.
#include "card/FloatingPanel.h"

namespace glimmer {

void FloatingPanel::applyPlatformHints() {
}

void FloatingPanel::applyInputRegion() {
}

std::optional<FloatingPanel::WorkspaceState> FloatingPanel::workspaceState() const {
    return std::nullopt;
}

} // namespace glimmer

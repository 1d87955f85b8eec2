// Platforms whose tool windows already stay out of the taskbar need nothing more.
#include "card/FloatingPanel.h"

namespace glimmer {

void FloatingPanel::applyPlatformHints() {
}

std::optional<FloatingPanel::WorkspaceState> FloatingPanel::workspaceState() const {
    return std::nullopt;
}

} // namespace glimmer

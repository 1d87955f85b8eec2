#include "settings/ConfigBinding.h"

#include <utility>

namespace glimmer {

ConfigBinding::ConfigBinding(AppConfig initial, QObject* parent) : QObject(parent), working(std::move(initial)) {
}

void ConfigBinding::edit(const std::function<void(AppConfig&)>& change) {
    AppConfig next = working;
    change(next);
    if (next == working) return;
    working = std::move(next);
    if (onSave) onSave(working);
    emit changed();
}

} // namespace glimmer

#include "settings/ConfigBinding.h"

#include <utility>

namespace glimmer {

ConfigBinding::ConfigBinding(AppConfig initial, QObject* parent) : QObject(parent), working(std::move(initial)) {
}

void ConfigBinding::edit(const ConfigEdit& change) {
    AppConfig next = working;
    change(next);
    if (next == working) return;
    follow(onEdit ? onEdit(change) : next);
}

void ConfigBinding::follow(const AppConfig& current) {
    if (current == working) return;
    working = current;
    emit changed();
}

} // namespace glimmer

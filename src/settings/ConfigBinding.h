#pragma once

#include "model/AppConfig.h"

#include <QObject>

#include <functional>

namespace glimmer {

/// The settings window's working copy of the configuration. Sections read it and change it only
/// through `edit`; a change that leaves the value equal is no change and saves nothing.
class ConfigBinding : public QObject {
    Q_OBJECT

public:
    explicit ConfigBinding(AppConfig initial, QObject* parent = nullptr);

    const AppConfig& config() const { return working; }

    /// Applies `change` to the working copy; when the value differs afterwards, hands the whole
    /// configuration to `onSave` and then emits `changed` so every section redraws from it.
    void edit(const std::function<void(AppConfig&)>& change);

    std::function<void(const AppConfig&)> onSave;

signals:
    void changed();

private:
    AppConfig working;
};

} // namespace glimmer

#pragma once

#include "model/AppConfig.h"

#include <QObject>

#include <functional>

namespace glimmer {

/// One change the settings window makes, applied to whichever configuration is current.
using ConfigEdit = std::function<void(AppConfig&)>;

/// The settings window's working copy of the configuration. Sections read it and change it only
/// through `edit`; a change that leaves the value equal is no change and saves nothing.
class ConfigBinding : public QObject {
    Q_OBJECT

public:
    /// Applies an edit to the owner's current configuration, stores it, and returns the result.
    using EditHandler = std::function<AppConfig(const ConfigEdit&)>;

    explicit ConfigBinding(AppConfig initial, QObject* parent = nullptr);

    const AppConfig& config() const { return working; }

    /// Applies `change` to the working copy; when the value differs afterwards, hands the change
    /// (not the whole copy) to `onEdit`, so fields changed elsewhere meanwhile are not reverted,
    /// and takes the owner's result as the new working copy.
    void edit(const ConfigEdit& change);

    /// Takes the owner's configuration after a change made outside the window; emits `changed`
    /// when it differs from the working copy.
    void follow(const AppConfig& current);

    EditHandler onEdit;

signals:
    void changed();

private:
    AppConfig working;
};

} // namespace glimmer

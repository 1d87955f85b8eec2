#pragma once

#include "settings/SettingsWidgets.h"

namespace glimmer {

class ConfigBinding;

/// One moving-average period chip ("M20") of the pull-back rule; on while the period is in
/// `alerts.maTouchPeriods`.
class MaToggle : public TintButton {
    Q_OBJECT

public:
    /// The periods offered, in display order.
    static constexpr int selectablePeriods[] = {5, 10, 20, 30, 60, 120, 250};

    MaToggle(int period, ConfigBinding& binding, QWidget* parent = nullptr);

    int period() const { return chipPeriod; }
    bool isSelected() const;

private:
    void toggleSelection();
    void sync();

    int chipPeriod;
    ConfigBinding& binding;
};

} // namespace glimmer

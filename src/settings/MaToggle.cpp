#include "settings/MaToggle.h"

#include "settings/ConfigBinding.h"

#include <algorithm>

namespace glimmer {

MaToggle::MaToggle(int period, ConfigBinding& binding, QWidget* parent)
    : TintButton(QStringLiteral("M%1").arg(period), parent), chipPeriod(period), binding(binding) {
    setAccessibleName(QStringLiteral("均线周期 M%1").arg(period));
    connect(this, &QPushButton::clicked, this, &MaToggle::toggleSelection);
    connect(&binding, &ConfigBinding::changed, this, &MaToggle::sync);
    sync();
}

bool MaToggle::isSelected() const {
    const auto& periods = binding.config().alerts.maTouchPeriods;
    return std::find(periods.begin(), periods.end(), chipPeriod) != periods.end();
}

void MaToggle::toggleSelection() {
    const bool selected = isSelected();
    binding.edit([&](AppConfig& config) {
        auto& periods = config.alerts.maTouchPeriods;
        if (selected) {
            std::erase(periods, chipPeriod);
        } else {
            periods.push_back(chipPeriod);
            std::sort(periods.begin(), periods.end());
        }
    });
    sync(); // the click flipped the check mark; the configuration decides it
}

void MaToggle::sync() {
    setChecked(isSelected());
}

} // namespace glimmer

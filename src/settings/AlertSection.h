#pragma once

#include "model/AppConfig.h"
#include "settings/SettingsSection.h"

#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QHBoxLayout;

namespace glimmer {

class ConfigBinding;
class MaToggle;

/// The alert-rules card: per-instrument price alerts and the parameters of the signal rules.
class AlertSection : public SettingsSection {
    Q_OBJECT

public:
    explicit AlertSection(ConfigBinding& binding, QWidget* parent = nullptr);

    QPushButton* addPriceAlertButton() const { return addAlert; }

private:
    QHBoxLayout* ruleRow(const QString& label, bool AlertConfig::*enabled);
    QCheckBox* ruleSwitch(const QString& label, bool AlertConfig::*field);
    QSpinBox* minutesStepper(int minimum, int maximum, int step, const QString& name,
                             const std::function<double(const AlertConfig&)>& read,
                             const std::function<void(AlertConfig&, int)>& write);
    QLineEdit* percentField(const QString& name, double AlertConfig::*field);
    void addPriceAlert();
    void sync();
    void rebuildPriceRows();
    QWidget* makePriceRow(const PriceAlert& alert);

    ConfigBinding& binding;
    QPushButton* addAlert = nullptr;
    QWidget* priceList = nullptr;
    QVBoxLayout* priceLayout = nullptr;
    QVBoxLayout* rules = nullptr;
    std::vector<std::function<void()>> syncers;
    QLineEdit* typing = nullptr; // the rule field whose edit is being saved
    std::vector<WatchItem> builtItems;
    std::vector<Uuid> builtIds;
    bool built = false;
};

} // namespace glimmer

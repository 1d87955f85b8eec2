#include "settings/AlertSection.h"

#include "settings/ConfigBinding.h"
#include "settings/MaToggle.h"
#include "settings/SettingsControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace glimmer {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

PriceAlert* findAlert(AppConfig& config, const Uuid& id) {
    for (PriceAlert& alert : config.alerts.priceAlerts)
        if (alert.id == id) return &alert;
    return nullptr;
}

// A field being typed in keeps its text ("1." stays "1."); the value it produced is already in the
// configuration.
void showNumber(QLineEdit* field, double value, const QLineEdit* typing) {
    if (field == typing || field->hasFocus()) return;
    const QSignalBlocker block(field);
    field->setText(SettingsControls::formatNumber(value));
}

} // namespace

AlertSection::AlertSection(ConfigBinding& binding, QWidget* parent)
    : SettingsSection(QStringLiteral("预警规则"), QStringLiteral("触发后浮窗红框呼吸闪烁，预警标的优先置顶"), parent),
      binding(binding) {
    auto* header = new QHBoxLayout;
    header->addWidget(SettingsControls::text(QStringLiteral("指定价格"), this));
    header->addStretch(1);
    addAlert = new QPushButton(QStringLiteral("+ 添加价格预警"), this);
    addAlert->setAccessibleName(QStringLiteral("添加价格预警"));
    addAlert->setAutoDefault(false);
    header->addWidget(addAlert);
    contentLayout()->addLayout(header);
    connect(addAlert, &QPushButton::clicked, this, &AlertSection::addPriceAlert);

    priceList = new QWidget(this);
    priceLayout = new QVBoxLayout(priceList);
    priceLayout->setContentsMargins(0, 0, 0, 0);
    priceLayout->setSpacing(4);
    contentLayout()->addWidget(priceList);
    contentLayout()->addWidget(SettingsControls::divider(this));

    using Row = QHBoxLayout;
    const auto unit = [this](const QString& text) { return SettingsControls::text(text, this); };

    Row* rise = ruleRow(QStringLiteral("快涨提醒"), &AlertConfig::fastRiseEnabled);
    rise->addWidget(minutesStepper(
        1, 30, 1, QStringLiteral("快涨窗口"), [](const AlertConfig& a) { return a.fastRiseWindowMinutes; },
        [](AlertConfig& a, int v) { a.fastRiseWindowMinutes = v; }));
    rise->addWidget(unit(QStringLiteral("涨幅 ≥")));
    rise->addWidget(percentField(QStringLiteral("快涨涨幅"), &AlertConfig::fastRisePercent));
    rise->addWidget(unit(QStringLiteral("%")));

    Row* drop = ruleRow(QStringLiteral("快跌提醒"), &AlertConfig::fastDropEnabled);
    drop->addWidget(minutesStepper(
        1, 30, 1, QStringLiteral("快跌窗口"), [](const AlertConfig& a) { return a.fastDropWindowMinutes; },
        [](AlertConfig& a, int v) { a.fastDropWindowMinutes = v; }));
    drop->addWidget(unit(QStringLiteral("跌幅 ≥")));
    drop->addWidget(percentField(QStringLiteral("快跌跌幅"), &AlertConfig::fastDropPercent));
    drop->addWidget(unit(QStringLiteral("%")));

    Row* scissors = ruleRow(QStringLiteral("剪刀差提醒"), &AlertConfig::scissorsEnabled);
    scissors->addWidget(unit(QStringLiteral("主力与散户净流入差 ≥")));
    scissors->addWidget(percentField(QStringLiteral("剪刀差阈值"), &AlertConfig::scissorsThresholdYi));
    scissors->addWidget(unit(QStringLiteral("亿")));

    Row* falling = ruleRow(QStringLiteral("主力持续下降"), &AlertConfig::mainFallingEnabled);
    falling->addWidget(unit(QStringLiteral("连续")));
    falling->addWidget(minutesStepper(
        2, 30, 1, QStringLiteral("主力下降分钟数"),
        [](const AlertConfig& a) { return static_cast<double>(a.mainFallingSamples); },
        [](AlertConfig& a, int v) { a.mainFallingSamples = v; }));
    falling->addWidget(unit(QStringLiteral("主力净流入下降")));

    Row* touch = ruleRow(QStringLiteral("回踩均线提醒"), &AlertConfig::maTouchEnabled);
    touch->addWidget(unit(QStringLiteral("距离均线 ≤")));
    touch->addWidget(percentField(QStringLiteral("回踩距离"), &AlertConfig::maTouchTolerancePercent));
    touch->addWidget(unit(QStringLiteral("%（上方回踩）")));

    auto* periods = new Row;
    periods->setSpacing(6);
    QLabel* periodsLabel = unit(QStringLiteral("均线周期"));
    periodsLabel->setFixedWidth(110);
    periods->addWidget(periodsLabel);
    for (int period : MaToggle::selectablePeriods) periods->addWidget(new MaToggle(period, binding, this));
    periods->addStretch(1);
    contentLayout()->addLayout(periods);

    auto* cooldown = new Row;
    cooldown->setSpacing(8);
    QLabel* cooldownLabel = unit(QStringLiteral("同类预警冷却"));
    cooldownLabel->setFixedWidth(110);
    cooldown->addWidget(cooldownLabel);
    cooldown->addWidget(minutesStepper(
        0, 120, 5, QStringLiteral("同类预警冷却"), [](const AlertConfig& a) { return a.cooldownMinutes; },
        [](AlertConfig& a, int v) { a.cooldownMinutes = v; }));
    cooldown->addWidget(SettingsControls::hint(QStringLiteral("（避免同一信号反复刷屏）"), this));
    cooldown->addStretch(1);
    contentLayout()->addLayout(cooldown);

    // Trailing stretch after the last control of each rule row.
    for (int i = 0; i < rules->count(); ++i)
        if (auto* row = qobject_cast<QHBoxLayout*>(rules->itemAt(i)->layout())) row->addStretch(1);

    connect(&binding, &ConfigBinding::changed, this, &AlertSection::sync);
    sync();
}

QHBoxLayout* AlertSection::ruleRow(const QString& label, bool AlertConfig::*enabled) {
    if (!rules) {
        rules = new QVBoxLayout;
        rules->setSpacing(6);
        contentLayout()->addLayout(rules);
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(ruleSwitch(label, enabled));
    rules->addLayout(row);
    return row;
}

QCheckBox* AlertSection::ruleSwitch(const QString& label, bool AlertConfig::*field) {
    QCheckBox* box = SettingsControls::toggle(label, this);
    box->setFixedWidth(110);
    connect(box, &QCheckBox::toggled, this,
            [this, field](bool on) { binding.edit([&](AppConfig& c) { c.alerts.*field = on; }); });
    syncers.push_back([this, box, field] {
        const QSignalBlocker block(box);
        box->setChecked(binding.config().alerts.*field);
    });
    return box;
}

QSpinBox* AlertSection::minutesStepper(int minimum, int maximum, int step, const QString& name,
                                       const std::function<double(const AlertConfig&)>& read,
                                       const std::function<void(AlertConfig&, int)>& write) {
    QSpinBox* box =
        SettingsControls::stepper(minimum, maximum, step, QString(), QStringLiteral(" 分钟"), std::nullopt, this);
    box->setAccessibleName(name);
    box->setObjectName(name);
    box->setMinimumWidth(86);
    connect(box, &QSpinBox::valueChanged, this,
            [this, write](int value) { binding.edit([&](AppConfig& c) { write(c.alerts, value); }); });
    syncers.push_back([this, box, read] {
        const QSignalBlocker block(box);
        box->setValue(static_cast<int>(std::lround(read(binding.config().alerts))));
    });
    return box;
}

QLineEdit* AlertSection::percentField(const QString& name, double AlertConfig::*field) {
    QLineEdit* edit = SettingsControls::numberField(60, QString(), this);
    edit->setAccessibleName(name);
    edit->setObjectName(name);
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field](const QString& text) {
        const auto value = SettingsControls::parseNumber(text);
        if (!value) return;
        typing = edit;
        binding.edit([&](AppConfig& c) { c.alerts.*field = *value; });
        typing = nullptr;
    });
    // Leaving a half-typed field shows the stored value again.
    connect(edit, &QLineEdit::editingFinished, this,
            [this, edit, field] { edit->setText(SettingsControls::formatNumber(binding.config().alerts.*field)); });
    syncers.push_back([this, edit, field] { showNumber(edit, binding.config().alerts.*field, typing); });
    return edit;
}

void AlertSection::addPriceAlert() {
    binding.edit([](AppConfig& config) {
        PriceAlert alert;
        alert.code = config.watchlist.empty() ? std::string() : config.watchlist.front().code;
        alert.direction = PriceAlertDirection::below;
        alert.price = 0;
        alert.enabled = true;
        config.alerts.priceAlerts.push_back(alert);
    });
}

void AlertSection::sync() {
    for (const auto& apply : syncers) apply();
    const AppConfig& config = binding.config();
    std::vector<Uuid> ids;
    for (const PriceAlert& alert : config.alerts.priceAlerts) ids.push_back(alert.id);
    if (built && ids == builtIds && config.watchlist == builtItems) return;
    builtIds = std::move(ids);
    builtItems = config.watchlist;
    built = true;
    rebuildPriceRows();
}

void AlertSection::rebuildPriceRows() {
    const bool hadFocus = priceList->isAncestorOf(QApplication::focusWidget());
    while (QLayoutItem* item = priceLayout->takeAt(0)) {
        if (QWidget* w = item->widget()) SettingsControls::retire(w);
        delete item;
    }
    const auto& alerts = binding.config().alerts.priceAlerts;
    if (alerts.empty()) {
        QLabel* example = SettingsControls::hint(QStringLiteral("例如：伟星股份 跌破 10.00 / 涨到 12.50"), priceList);
        example->setWordWrap(true);
        priceLayout->addWidget(example);
    }
    for (const PriceAlert& alert : alerts) priceLayout->addWidget(makePriceRow(alert));
    SettingsControls::chainFocusAfter(addAlert, {priceList});
    if (hadFocus) addAlert->setFocus();
}

QWidget* AlertSection::makePriceRow(const PriceAlert& alert) {
    const AppConfig& config = binding.config();
    const Uuid id = alert.id;
    auto* row = new QWidget(priceList);
    row->setObjectName(QStringLiteral("priceAlert:") + qs(id.string()));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* instrument = new QComboBox(row);
    instrument->setFixedWidth(150);
    instrument->setAccessibleName(QStringLiteral("预警标的"));
    for (const WatchItem& item : config.watchlist)
        instrument->addItem(qs(item.code) + QLatin1Char(' ') + qs(item.name), qs(item.code));
    // A code that is not on the watch list (or none yet) shows no selection.
    instrument->setCurrentIndex(instrument->findData(qs(alert.code)));
    connect(instrument, &QComboBox::activated, this, [this, id, instrument](int index) {
        const std::string code = instrument->itemData(index).toString().toStdString();
        binding.edit([&](AppConfig& c) {
            if (PriceAlert* a = findAlert(c, id)) a->code = code;
        });
    });

    auto* direction = new QComboBox(row);
    direction->setFixedWidth(80);
    direction->setAccessibleName(QStringLiteral("预警方向"));
    direction->addItem(QStringLiteral("跌破"));
    direction->addItem(QStringLiteral("涨到"));
    direction->setCurrentIndex(alert.direction == PriceAlertDirection::below ? 0 : 1);
    connect(direction, &QComboBox::activated, this, [this, id](int index) {
        binding.edit([&](AppConfig& c) {
            if (PriceAlert* a = findAlert(c, id))
                a->direction = index == 0 ? PriceAlertDirection::below : PriceAlertDirection::above;
        });
    });

    QLineEdit* price = SettingsControls::numberField(80, QStringLiteral("价格"), row);
    price->setText(SettingsControls::formatNumber(alert.price));
    connect(price, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        if (const auto value = SettingsControls::parseNumber(text)) {
            binding.edit([&](AppConfig& c) {
                if (PriceAlert* a = findAlert(c, id)) a->price = *value;
            });
        }
    });

    auto* enabled = new QCheckBox(row);
    enabled->setAccessibleName(QStringLiteral("启用这条价格预警"));
    enabled->setChecked(alert.enabled);
    connect(enabled, &QCheckBox::toggled, this, [this, id](bool on) {
        binding.edit([&](AppConfig& c) {
            if (PriceAlert* a = findAlert(c, id)) a->enabled = on;
        });
    });

    auto* trash = SettingsControls::iconButton(SettingsControls::lineIcon(QStringLiteral("trash"), QColor(230, 60, 55)),
                                               QStringLiteral("删除这条价格预警"), row);
    trash->setObjectName(QStringLiteral("deleteAlert"));
    connect(trash, &QToolButton::clicked, this, [this, id] {
        binding.edit([&](AppConfig& c) {
            std::erase_if(c.alerts.priceAlerts, [&](const PriceAlert& a) { return a.id == id; });
        });
    });

    layout->addWidget(instrument);
    layout->addWidget(direction);
    layout->addWidget(price);
    layout->addWidget(enabled);
    layout->addWidget(trash);
    layout->addStretch(1);
    return row;
}

} // namespace glimmer

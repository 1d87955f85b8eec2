#include "settings/AppearanceSection.h"

#include "settings/ConfigBinding.h"
#include "settings/DesktopWords.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

constexpr int labelWidth = 72; // the left label column of the labelled rows

QHBoxLayout* labelledRow(const QString& label, QWidget* parent, QLayout* into) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    QLabel* title = SettingsControls::text(label, parent);
    title->setFixedWidth(labelWidth);
    row->addWidget(title);
    if (auto* box = qobject_cast<QBoxLayout*>(into)) box->addLayout(row);
    return row;
}

} // namespace

void AppearanceSection::setViewEnabled(AppConfig& config, ChartView view, bool enabled) {
    auto& views = config.enabledViews;
    const bool present = std::find(views.begin(), views.end(), view) != views.end();
    if (enabled) {
        if (!present) views.push_back(view);
        return;
    }
    // A hand-edited list may hold the view twice; removing it must still leave one view behind.
    const bool othersRemain = std::any_of(views.begin(), views.end(), [&](ChartView v) { return v != view; });
    if (views.size() < 2 || !othersRemain) return;
    std::erase(views, view);
}

QString AppearanceSection::pinnedNote(bool dockPinned) {
    return QStringLiteral("常驻模式：拖到屏幕左/右边缘松手即吸附固定，之后启动、呼出、改尺寸都回到该边（") +
           (dockPinned ? QStringLiteral("已开启") : QStringLiteral("已关闭")) +
           QStringLiteral("）；置顶模式决定普通窗口之上还是按桌面顺序。");
}

AppearanceSection::AppearanceSection(ConfigBinding& binding, std::function<void()> onResetPosition, QWidget* parent)
    : SettingsSection(
          QStringLiteral("外观与位置"),
          QStringLiteral("拖浮窗边缘可缩放；拖到屏幕左右边缘松手自动吸附；鼠标悬停时左侧出现竖排透明度滑条"), parent),
      binding(binding), onResetPosition(std::move(onResetPosition)) {
    QVBoxLayout* column = contentLayout();
    addSizeRow(column);
    addOpacityRow(column);
    addThemeRow(column);
    addWindowModeRows(column);
    addRefreshRow(column);
    addRotationRow(column);
    addViewRows(column);
    addSwitchRow(column);
    connect(&binding, &ConfigBinding::changed, this, &AppearanceSection::sync);
    sync();
}

void AppearanceSection::addSizeRow(QVBoxLayout* column) {
    QSpinBox* width = stepper(240, 760, 10, QStringLiteral("宽度 "), QString(), std::nullopt, &AppConfig::width);
    QSpinBox* height = stepper(150, 640, 6, QStringLiteral("高度 "), QString(), std::nullopt, &AppConfig::height);
    width->setObjectName(QStringLiteral("width"));
    height->setObjectName(QStringLiteral("height"));
    addStepperPair(column, width, height, 160);
}

void AppearanceSection::addStepperPair(QVBoxLayout* column, QSpinBox* first, QSpinBox* second, int width) {
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    for (QSpinBox* box : {first, second}) {
        box->setFixedWidth(width);
        row->addWidget(box);
    }
    row->addStretch(1);
    column->addLayout(row);
}

void AppearanceSection::addOpacityRow(QVBoxLayout* column) {
    QHBoxLayout* row = labelledRow(QStringLiteral("透明度"), this, column);
    auto* value = new QLabel(this);
    value->setMinimumWidth(40);
    row->addWidget(opacitySlider(value), 1);
    row->addWidget(value);
}

void AppearanceSection::addThemeRow(QVBoxLayout* column) {
    QHBoxLayout* row = labelledRow(QStringLiteral("主题"), this, column);
    auto* themes = new QButtonGroup(this);
    themes->setExclusive(true);
    const std::pair<ThemeMode, QString> modes[] = {{ThemeMode::system, QStringLiteral("跟随系统")},
                                                   {ThemeMode::dark, QStringLiteral("深色")},
                                                   {ThemeMode::light, QStringLiteral("浅色")}};
    auto* segments = new QHBoxLayout;
    segments->setSpacing(4);
    for (const auto& [mode, title] : modes) {
        auto* segment = new TintButton(title, this);
        segment->setAccessibleName(QStringLiteral("主题：") + title);
        segment->setObjectName(QStringLiteral("theme:") + QString::fromLatin1(rawValue(mode)));
        themes->addButton(segment);
        segments->addWidget(segment);
        const ThemeMode chosen = mode;
        connect(segment, &QPushButton::clicked, this,
                [this, chosen] { binding.edit([&](AppConfig& c) { c.themeMode = chosen; }); });
        syncers.push_back([this, segment, chosen] {
            const QSignalBlocker block(segment);
            segment->setChecked(binding.config().themeMode == chosen);
        });
    }
    row->addLayout(segments);
    row->addWidget(SettingsControls::hint(QString::fromUtf8(DesktopWords::appearanceHint()), this), 1);
}

void AppearanceSection::addWindowModeRows(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(toggle(QStringLiteral("置顶模式"), &AppConfig::alwaysOnTop));
    row->addWidget(toggle(QStringLiteral("常驻模式"), &AppConfig::dockPinned));
    auto* reset = new QPushButton(QStringLiteral("回到右下角"), this);
    reset->setAccessibleName(QStringLiteral("回到右下角"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, [this] {
        if (onResetPosition) onResetPosition();
    });
    row->addWidget(reset);
    row->addStretch(1);
    column->addLayout(row);

    QLabel* note = SettingsControls::hint(QString(), this);
    note->setObjectName(QStringLiteral("pinnedNote"));
    note->setWordWrap(true);
    column->addWidget(note);
    syncers.push_back([this, note] { note->setText(pinnedNote(binding.config().dockPinned)); });
}

void AppearanceSection::addRefreshRow(QVBoxLayout* column) {
    QHBoxLayout* row = labelledRow(QStringLiteral("刷新间隔"), this, column);
    QSpinBox* refresh = stepper(5, 300, 5, QString(), QStringLiteral(" 秒"), std::nullopt, &AppConfig::refreshSeconds);
    refresh->setObjectName(QStringLiteral("refreshSeconds"));
    refresh->setAccessibleName(QStringLiteral("刷新间隔"));
    refresh->setFixedWidth(100);
    row->addWidget(refresh);
    row->addWidget(SettingsControls::hint(QStringLiteral("（盘中建议 15–30 秒）"), this), 1);
}

void AppearanceSection::addRotationRow(QVBoxLayout* column) {
    QSpinBox* viewRotate = stepper(0, 30, 1, QStringLiteral("视图轮播 "), QStringLiteral(" 秒"),
                                   QStringLiteral("视图轮播 已关闭"), &AppConfig::viewRotateSeconds);
    QSpinBox* stockRotate = stepper(0, 120, 5, QStringLiteral("股票轮播 "), QStringLiteral(" 秒"),
                                    QStringLiteral("股票轮播 已关闭"), &AppConfig::autoRotateSeconds);
    viewRotate->setObjectName(QStringLiteral("viewRotateSeconds"));
    stockRotate->setObjectName(QStringLiteral("autoRotateSeconds"));
    addStepperPair(column, viewRotate, stockRotate, 180);
}

void AppearanceSection::addViewRows(QVBoxLayout* column) {
    QHBoxLayout* row = labelledRow(QStringLiteral("轮播视图"), this, column);
    row->setSpacing(10);
    for (const ChartViews::Row& chart : ChartViews::table) row->addWidget(viewBox(chart.view, chart.label));
    row->addStretch(1);
    auto* hint = new QHBoxLayout;
    hint->addSpacing(labelWidth + 8);
    hint->addWidget(SettingsControls::hint(QStringLiteral("勾选的才出现在浮窗白点里，至少保留一个"), this), 1);
    column->addLayout(hint);
}

QCheckBox* AppearanceSection::viewBox(ChartView view, const char* label) {
    const QString title = QString::fromUtf8(label);
    auto* box = new QCheckBox(title, this);
    box->setObjectName(QStringLiteral("view:%1").arg(ChartViews::stored(view)));
    box->setAccessibleName(QStringLiteral("轮播视图：") + title);
    connect(box, &QCheckBox::toggled, this, [this, view](bool on) {
        binding.edit([&](AppConfig& c) { setViewEnabled(c, view, on); });
        sync(); // a refused uncheck puts the mark back
    });
    syncers.push_back([this, box, view] {
        const auto& views = binding.config().enabledViews;
        const bool checked = std::find(views.begin(), views.end(), view) != views.end();
        const bool onlyOne = checked && std::all_of(views.begin(), views.end(), [&](ChartView v) { return v == view; });
        const QSignalBlocker block(box);
        box->setChecked(checked);
        box->setEnabled(!onlyOne);
    });
    return box;
}

void AppearanceSection::addSwitchRow(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(toggle(QStringLiteral("悬停暂停轮播"), &AppConfig::pauseRotateOnHover));
    row->addWidget(toggle(QStringLiteral("悬停显示透明度滑条"), &AppConfig::hoverOpacitySlider));
    row->addWidget(toggle(QStringLiteral("开机自启"), &AppConfig::autoLaunch));
    QCheckBox* privacy = toggle(QStringLiteral("隐私模式"), &AppConfig::privacyMode);
    privacy->setObjectName(QStringLiteral("privacyMode"));
    privacy->setToolTip(QStringLiteral("金额和持股数显示为 ****，百分比照常"));
    row->addWidget(privacy);
    row->addStretch(1);
    column->addLayout(row);
}

QSpinBox* AppearanceSection::stepper(int minimum, int maximum, int step, const QString& prefix, const QString& suffix,
                                     const std::optional<QString>& offText, double AppConfig::*field) {
    QSpinBox* box = SettingsControls::stepper(minimum, maximum, step, prefix, suffix, offText, this);
    connect(box, &QSpinBox::valueChanged, this,
            [this, field](int value) { binding.edit([&](AppConfig& c) { c.*field = value; }); });
    syncers.push_back([this, box, field] {
        const QSignalBlocker block(box);
        box->setValue(static_cast<int>(std::lround(binding.config().*field)));
    });
    return box;
}

QCheckBox* AppearanceSection::toggle(const QString& label, bool AppConfig::*field) {
    QCheckBox* box = SettingsControls::toggle(label, this);
    connect(box, &QCheckBox::toggled, this,
            [this, field](bool on) { binding.edit([&](AppConfig& c) { c.*field = on; }); });
    syncers.push_back([this, box, field] {
        const QSignalBlocker block(box);
        box->setChecked(binding.config().*field);
    });
    return box;
}

QSlider* AppearanceSection::opacitySlider(QLabel* valueLabel) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("opacity"));
    slider->setAccessibleName(QStringLiteral("透明度"));
    slider->setRange(25, 100);
    slider->setPageStep(5);
    connect(slider, &QSlider::valueChanged, this,
            [this](int percent) { binding.edit([&](AppConfig& c) { c.opacity = percent / 100.0; }); });
    syncers.push_back([this, slider, valueLabel] {
        const double opacity = binding.config().opacity;
        const QSignalBlocker block(slider);
        slider->setValue(static_cast<int>(std::lround(opacity * 100)));
        valueLabel->setText(QStringLiteral("%1%").arg(std::lround(opacity * 100)));
    });
    return slider;
}

void AppearanceSection::sync() {
    for (const auto& apply : syncers) apply();
}

} // namespace glimmer

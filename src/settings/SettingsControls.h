#pragma once

#include "model/MarketRecords.h"

#include <QString>

#include <initializer_list>
#include <optional>

class QCheckBox;
class QColor;
class QIcon;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;
class QWidget;

/// Small builders shared by the settings sections, so every section looks and reads alike.
namespace glimmer::SettingsControls {

/// Secondary-coloured small text beside controls; notes of their own line turn on word wrap.
QLabel* hint(const QString& text, QWidget* parent);
/// Plain body text.
QLabel* text(const QString& text, QWidget* parent);
/// An on/off control labelled `label`.
QCheckBox* toggle(const QString& label, QWidget* parent);
/// An integer stepper showing `prefix` value `suffix`; at the minimum it shows `offText` instead
/// when one is given ("视图轮播 已关闭").
QSpinBox* stepper(int minimum, int maximum, int step, const QString& prefix, const QString& suffix,
                  const std::optional<QString>& offText, QWidget* parent);
/// A rounded number field with a prompt; no validation, see `parseNumber`.
QLineEdit* numberField(int width, const QString& prompt, QWidget* parent);
/// The "ETF" / "股票" capsule of a watch-list row or suggestion.
QLabel* kindTag(InstrumentKind kind, QWidget* parent);
QString kindText(InstrumentKind kind);
/// A thin horizontal line.
QWidget* divider(QWidget* parent);
/// A borderless icon button with a tooltip that doubles as its accessible name.
QToolButton* iconButton(const QIcon& icon, const QString& accessibleName, QWidget* parent);

/// Takes a replaced row out of the form at once (so lookups and focus chains no longer see it) and
/// deletes it once the event that replaced it, possibly its own button's click, has finished.
void retire(QWidget* widget);

/// Puts the focusable widgets inside `containers`, in their order, right after `anchor` in the
/// tab order. Rows built after the window are otherwise reached only after every other control.
void chainFocusAfter(QWidget* anchor, std::initializer_list<QWidget*> containers);

/// Text of a stored number in a field: the shortest form that reads back the same ("0.35").
QString formatNumber(double value);
/// A typed decimal number ("2", "0.5", " 1.25 ", "1,5" is not one); none for anything else,
/// including infinities and NaN, so a half-typed field never reaches the configuration.
std::optional<double> parseNumber(const QString& text);

/// Line icons drawn for the watch-list and alert rows: "arrow.up", "arrow.down", "eye",
/// "eye.slash", "trash". Any other name gives an empty icon.
QIcon lineIcon(const QString& name, const QColor& color);

} // namespace glimmer::SettingsControls

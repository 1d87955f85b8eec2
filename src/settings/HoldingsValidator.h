#pragma once

#include <QValidator>

#include <functional>

namespace glimmer {

/// Keeps a holdings field to numbers as the user types: keys that can never make a share count (or
/// a cost price) are refused, and a field left half-typed ("12.", "0" for a cost) goes back to the
/// stored value.
class HoldingsValidator : public QValidator {
    Q_OBJECT

public:
    enum class Field { shares, cost };

    HoldingsValidator(Field field, std::function<QString()> storedText, QObject* parent = nullptr);

    State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;

private:
    Field field;
    std::function<QString()> storedText;
};

} // namespace glimmer

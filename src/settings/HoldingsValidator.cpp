#include "settings/HoldingsValidator.h"

#include "settings/WatchlistEditing.h"

namespace glimmer {

HoldingsValidator::HoldingsValidator(Field field, std::function<QString()> storedText, QObject* parent)
    : QValidator(parent), field(field), storedText(std::move(storedText)) {
}

QValidator::State HoldingsValidator::validate(QString& input, int&) const {
    const std::string text = input.toStdString();
    const WatchlistEditing::Typed typed =
        field == Field::shares ? WatchlistEditing::typedShares(text) : WatchlistEditing::typedCost(text);
    switch (typed) {
    case WatchlistEditing::Typed::complete:
        return Acceptable;
    case WatchlistEditing::Typed::partial:
        return Intermediate;
    case WatchlistEditing::Typed::invalid:
        break;
    }
    return Invalid;
}

void HoldingsValidator::fixup(QString& input) const {
    if (storedText) input = storedText();
}

} // namespace glimmer

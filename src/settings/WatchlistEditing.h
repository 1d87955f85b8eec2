#pragma once

#include "model/AppConfig.h"

#include <string>
#include <string_view>

/// The watch-list editor's rules, on a plain configuration value.
namespace glimmer::WatchlistEditing {

enum class AddResult {
    ignored,   // nothing usable typed: the text stays for correction
    duplicate, // the code is already listed: only the text is cleared
    added,     // appended at the end
};

/// Adds the instrument typed as "600519 贵州茅台", "sh600519" or "510300": the digits of the first
/// word make the code (at least five), the rest after the blanks is the name.
AddResult addTyped(AppConfig& config, std::string_view text);
/// Appends the item unless its code is already listed; true when it was appended.
bool addItem(AppConfig& config, const WatchItem& item);
/// "51", "15" and "58" are the exchange-traded fund ranges.
InstrumentKind kindForCode(std::string_view code);

/// Removes the item with its price alerts and its hidden mark.
void remove(AppConfig& config, const std::string& code);
/// Swaps the item with its neighbour above (-1) or below (+1); nothing at either end.
void move(AppConfig& config, const std::string& code, int direction);
/// Hides a shown code or shows a hidden one.
void toggleHidden(AppConfig& config, const std::string& code);
bool isHidden(const AppConfig& config, const std::string& code);

/// Text without leading and trailing white space and line breaks (Unicode-aware for the
/// ideographic space an input method may type).
std::string trimmed(std::string_view text);

} // namespace glimmer::WatchlistEditing

#pragma once

#include "model/AppConfig.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

/// How far a holdings field's text is: `partial` may still become a number ("12.", "0" for a cost),
/// `invalid` never can (letters, a sign, too many digits).
enum class Typed { invalid, partial, complete };
/// A share count: digits only, at most the largest count allowed; empty is complete (no holding).
Typed typedShares(std::string_view text);
/// A cost price: digits with at most one point and four decimals, above 0; empty is complete.
Typed typedCost(std::string_view text);
/// The value of complete text; none for empty (or anything else).
std::optional<std::int64_t> sharesOf(std::string_view text);
std::optional<double> costOf(std::string_view text);

/// Sets or (with none) clears the holdings of the listed code; nothing for a code not listed.
void setShares(AppConfig& config, const std::string& code, std::optional<std::int64_t> shares);
void setCost(AppConfig& config, const std::string& code, std::optional<double> cost);
/// The same securities in the same order, whatever their holdings.
bool sameSecurities(const std::vector<WatchItem>& a, const std::vector<WatchItem>& b);

/// Text without leading and trailing white space and line breaks (Unicode-aware for the
/// ideographic space an input method may type).
std::string trimmed(std::string_view text);

} // namespace glimmer::WatchlistEditing

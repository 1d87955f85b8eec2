#pragma once

#include "market/SymbolSearch.h"
#include "settings/HoldingsValidator.h"
#include "settings/SettingsSection.h"

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace glimmer {

class ConfigBinding;
class SymbolSuggester;

/// The watch-list card: a search / add field with suggestions, and one row per instrument with its
/// holdings (shares and cost price, edited in place) and move, hide and delete buttons.
class WatchlistSection : public SettingsSection {
    Q_OBJECT

public:
    WatchlistSection(ConfigBinding& binding, SymbolSearch::Lookup search, QWidget* parent = nullptr);

    QLineEdit* codeField() const { return field; }
    QPushButton* addButton() const { return add; }
    SymbolSuggester& suggester() const { return *lookup; }
    /// The suggestions shown under the field, in order.
    const std::vector<SymbolHit>& hits() const { return shownHits; }

    /// Add-item: parses the field's text and appends the instrument.
    void addTypedItem();
    /// Pick-hit: appends the suggestion unless already listed; clears field and suggestions.
    void pick(const SymbolHit& hit);

    /// What a holdings field shows for an item: the stored number, empty when none, and "****"
    /// for the share count in privacy mode.
    static QString holdingsText(const WatchItem& item, HoldingsValidator::Field field, bool privacy);

protected:
    /// Down in the field moves into the suggestions; Up and Down step through them.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showHits(const std::vector<SymbolHit>& hits);
    void sync();
    void rebuildRows();
    QWidget* makeRow(std::size_t index);
    QLineEdit* holdingsField(const WatchItem& item, HoldingsValidator::Field field, QWidget* row);
    /// Puts stored holdings into the fields the user is not typing in.
    void refreshHoldingFields();

    ConfigBinding& binding;
    QLineEdit* field = nullptr;
    QPushButton* add = nullptr;
    QWidget* hitList = nullptr;
    QVBoxLayout* hitLayout = nullptr;
    QWidget* rowList = nullptr;
    QVBoxLayout* rowLayout = nullptr;
    SymbolSuggester* lookup = nullptr;
    std::vector<SymbolHit> shownHits;
    // What the rows were last built from, so unrelated edits leave them (and the focus) alone.
    std::vector<WatchItem> builtItems;
    std::vector<std::string> builtHidden;
    bool builtPrivacy = false;
    bool built = false;
};

} // namespace glimmer

#include "settings/SettingsRootView.h"
#include "settings/WatchlistEditing.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <map>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::SettingsHarness;
using Codes = std::vector<std::string>;

Codes codesOf(const AppConfig& config) {
    Codes codes;
    for (const WatchItem& item : config.watchlist) codes.push_back(item.code);
    return codes;
}

class WatchlistEditorTest : public ::testing::Test {
protected:
    void add(const QString& text, bool withButton = false) {
        QLineEdit* field = harness.root().watchlistSection()->codeField();
        field->clear();
        field->insert(text); // as an input method commits it
        if (withButton)
            QTest::mouseClick(harness.root().watchlistSection()->addButton(), Qt::LeftButton);
        else
            QTest::keyClick(field, Qt::Key_Return);
    }
    QString fieldText() { return harness.root().watchlistSection()->codeField()->text(); }
    QToolButton* button(const char* kind, const char* code) {
        return harness.find<QToolButton>(QLatin1String(kind) + QLatin1Char(':') + QLatin1String(code));
    }
    void click(const char* kind, const char* code) { QTest::mouseClick(button(kind, code), Qt::LeftButton); }

    SettingsHarness harness{testing::livedInConfig()};
};

TEST_F(WatchlistEditorTest, TypedTextGivesCodeNameAndKindAndANewRow) {
    const std::pair<QString, WatchItem> cases[] = {
        {QStringLiteral("601318 中国平安"), {"601318", "中国平安", InstrumentKind::stock}},
        {QStringLiteral("  sz000858  "), {"000858", "", InstrumentKind::stock}}, // the exchange prefix goes
        {QStringLiteral("601012   隆基 绿能"), {"601012", "隆基 绿能", InstrumentKind::stock}},
        {QStringLiteral("６０１９８９"), {"601989", "", InstrumentKind::stock}}, // full-width digits of an input method
        {QStringLiteral("512880"), {"512880", "", InstrumentKind::etf}},
        {QStringLiteral("159915"), {"159915", "", InstrumentKind::etf}},
        {QStringLiteral("588080"), {"588080", "", InstrumentKind::etf}},
        {QStringLiteral("688981"), {"688981", "", InstrumentKind::stock}},
        {QStringLiteral("501050"), {"501050", "", InstrumentKind::stock}},
    };
    for (const auto& [typed, added] : cases) {
        add(typed, true);
        EXPECT_EQ(harness.saves.back().watchlist.back(), added) << typed.toStdString();
    }
    EXPECT_EQ(harness.saves.size(), std::size(cases));
    EXPECT_NE(button("delete", "601318"), nullptr) << "the new row is drawn with its own buttons";
}

TEST_F(WatchlistEditorTest, FewerThanFiveDigitsAddNothingAndKeepTheTextAndAListedCodeOnlyClears) {
    for (const QString& text :
         {QStringLiteral("6005"), QStringLiteral("茅台"), QStringLiteral("   "), QStringLiteral("sh12 34567")}) {
        add(text);
        EXPECT_EQ(fieldText(), text) << text.toStdString();
    }
    add(QStringLiteral("sh600519 茅台"));
    EXPECT_TRUE(fieldText().isEmpty());
    EXPECT_TRUE(harness.saves.empty());
    EXPECT_EQ(harness.config().watchlist, testing::livedInConfig().watchlist);
}

TEST_F(WatchlistEditorTest, DeletingRemovesItsPriceAlertsAndHiddenMarkAndTheEyeHidesWithoutTouchingTheList) {
    harness.window().show(); // button clicks need a shown window
    click("delete", "002003");
    EXPECT_EQ(codesOf(harness.saves.back()), (Codes{"600519", "300750", "510300", "588000"}));
    ASSERT_EQ(harness.saves.back().alerts.priceAlerts.size(), 1u);
    EXPECT_EQ(harness.saves.back().alerts.priceAlerts.front().code, "600519");
    click("delete", "300750");
    EXPECT_TRUE(harness.saves.back().hiddenCodes.empty());

    click("hide", "510300");
    click("hide", "588000");
    EXPECT_EQ(harness.saves.back().hiddenCodes, (Codes{"510300", "588000"}));
    EXPECT_EQ(button("hide", "510300")->toolTip(), QStringLiteral("在浮窗里恢复显示"));
    click("hide", "510300");
    EXPECT_EQ(harness.saves.back().hiddenCodes, Codes{"588000"});
    EXPECT_EQ(codesOf(harness.saves.back()), (Codes{"600519", "510300", "588000"}));
}

TEST_F(WatchlistEditorTest, RowsMoveUpAndDownButNeverPastTheEnds) {
    harness.window().show();
    EXPECT_EQ((std::vector{button("moveUp", "600519")->isEnabled(), button("moveDown", "600519")->isEnabled(),
                           button("moveUp", "588000")->isEnabled(), button("moveDown", "588000")->isEnabled()}),
              (std::vector{false, true, true, false}));
    click("moveDown", "600519");
    EXPECT_EQ(codesOf(harness.saves.back()), (Codes{"300750", "600519", "510300", "002003", "588000"}));
    EXPECT_EQ(std::pair(button("moveUp", "300750")->isEnabled(), button("moveUp", "600519")->isEnabled()),
              std::pair(false, true));
    click("moveUp", "588000");
    EXPECT_EQ(codesOf(harness.saves.back()), (Codes{"300750", "600519", "510300", "588000", "002003"}));
    EXPECT_FALSE(button("moveDown", "002003")->isEnabled());

    AppConfig config = harness.saves.back();
    WatchlistEditing::move(config, "002003", 1);
    WatchlistEditing::move(config, "300750", -1);
    EXPECT_EQ(codesOf(config), codesOf(harness.saves.back()));
}

QWidget* nextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
        if (w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) return w;
    return nullptr;
}

TEST_F(WatchlistEditorTest, KeyboardMovesKeepFocusAndRebuiltRowsStayInTabOrderAfterTheAddButton) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    harness.window().activateWindow();
    button("moveDown", "510300")->setFocus();
    QTest::keyClick(button("moveDown", "510300"), Qt::Key_Space);
    EXPECT_EQ(codesOf(harness.saves.back()), (Codes{"600519", "300750", "002003", "510300", "588000"}));
    ASSERT_EQ(QApplication::focusWidget(), button("moveDown", "510300"));
    // Moving to the last row disables the button, so focus falls back to the field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), harness.root().watchlistSection()->codeField());

    QCoreApplication::processEvents(); // new rows show once the layout has run
    QWidget* w = nextTabStop(harness.root().watchlistSection()->addButton());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), QStringLiteral("shares:600519")) << w->metaObject()->className();
    // Walking on visits every row before leaving the card, ending with the last row's buttons.
    QString last;
    for (; w && w->parentWidget() && w->parentWidget()->objectName().startsWith(QStringLiteral("row:"));
         w = nextTabStop(w))
        last = w->objectName();
    EXPECT_EQ(last, QStringLiteral("delete:510300"));
}

TEST(WatchlistEditing, HoldingsTextIsJudgedAsItIsTyped) {
    using enum WatchlistEditing::Typed;
    using Cases = std::map<WatchlistEditing::Typed, std::vector<const char*>>;
    const Cases shares{{complete, {"", "0", "12300", "1000000000000"}},
                       {partial, {"1000000000001"}},
                       {invalid, {"12345678901234", "-5", "1.5", "12a", " 1", "１２"}}};
    for (const auto& [typed, texts] : shares)
        for (const char* text : texts) EXPECT_EQ(WatchlistEditing::typedShares(text), typed) << text;
    const Cases costs{{complete, {"", "1400.5", "3.9125", "0.001"}},
                      {partial, {"12.", ".5", "0", "0.000"}},
                      {invalid, {"3.91251", "1.2.3", "-1", "1,5", "123456789", "1e3"}}};
    for (const auto& [typed, texts] : costs)
        for (const char* text : texts) EXPECT_EQ(WatchlistEditing::typedCost(text), typed) << text;
}

TEST_F(WatchlistEditorTest, HoldingsFieldsTakeNumbersOnlyChangeOnlyTheirOwnItemAndAreMaskedWhenPrivate) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    AppConfig expected = harness.config();
    auto* shares = harness.find<QLineEdit>(QStringLiteral("shares:510300"));
    auto* cost = harness.find<QLineEdit>(QStringLiteral("cost:510300"));
    ASSERT_TRUE(shares && cost);
    shares->setFocus();
    QTest::keyClicks(shares, QStringLiteral("12-3x00"));
    EXPECT_EQ(shares->text(), QStringLiteral("12300"));
    EXPECT_TRUE(harness.saves.empty()) << "applied when the field is left, not per key";
    QTest::keyClick(shares, Qt::Key_Tab);
    ASSERT_EQ(harness.saves.size(), 1u);
    expected.watchlist[2].shares = 12300;
    EXPECT_EQ(harness.saves.back(), expected);
    EXPECT_TRUE(cost->hasFocus()) << "the rows are not rebuilt under the user";

    QTest::keyClicks(cost, QStringLiteral("3.91257"));
    EXPECT_EQ(cost->text(), QStringLiteral("3.9125")) << "four decimals at most";
    QTest::keyClick(cost, Qt::Key_Return);
    EXPECT_EQ(harness.saves.back().watchlist[2].cost, 3.9125);
    // A half-typed cost goes back to the stored one; an emptied field clears the holding.
    cost->selectAll();
    QTest::keyClicks(cost, QStringLiteral("0"));
    QTest::keyClick(cost, Qt::Key_Return);
    EXPECT_EQ(cost->text(), QStringLiteral("3.9125"));
    EXPECT_EQ(harness.saves.size(), 2u);
    shares->setFocus();
    shares->selectAll();
    QTest::keyClick(shares, Qt::Key_Backspace);
    QTest::keyClick(shares, Qt::Key_Return);
    EXPECT_FALSE(harness.saves.back().watchlist[2].shares);
    EXPECT_EQ(harness.saves.back().watchlist[2].cost, 3.9125);

    harness.root().binding().edit([](AppConfig& c) {
        c.watchlist[0].shares = 300;
        c.privacyMode = true;
    });
    EXPECT_TRUE(harness.find<QLineEdit>(QStringLiteral("shares:600519"))->isReadOnly());
    EXPECT_EQ(harness.find<QLineEdit>(QStringLiteral("cost:510300"))->text(), QStringLiteral("3.9125"));
    EXPECT_TRUE(harness.find<QLineEdit>(QStringLiteral("shares:510300"))->text().isEmpty())
        << "nothing held, nothing masked";
}

} // namespace
} // namespace glimmer

#include "settings/SettingsRootView.h"
#include "settings/WatchlistEditing.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::codesOf;
using testing::SettingsHarness;

class WatchlistEditorTest : public ::testing::Test {
protected:
    void type(const QString& text) {
        QLineEdit* field = harness.root().watchlistSection()->codeField();
        field->clear();
        // QTest types ASCII only; Chinese text arrives as an input method commits it.
        bool ascii = true;
        for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(field, text);
        else
            field->insert(text);
    }
    void pressReturn() { QTest::keyClick(harness.root().watchlistSection()->codeField(), Qt::Key_Return); }
    QString fieldText() { return harness.root().watchlistSection()->codeField()->text(); }
    QToolButton* button(const QString& kind, const char* code) {
        return harness.find<QToolButton>(kind + QLatin1Char(':') + QLatin1String(code));
    }

    SettingsHarness harness{testing::livedInConfig()};
};

TEST_F(WatchlistEditorTest, CodeFollowedByANameAddsBothAndSavesTheWholeConfiguration) {
    AppConfig expected = harness.config();
    type(QStringLiteral("601318 中国平安"));
    pressReturn();

    expected.watchlist.push_back({"601318", "中国平安", InstrumentKind::stock});
    ASSERT_EQ(harness.saves.size(), 1u);
    EXPECT_EQ(harness.saves.back(), expected);
    EXPECT_TRUE(fieldText().isEmpty());
    // The new row is drawn with its own buttons.
    EXPECT_NE(button(QStringLiteral("delete"), "601318"), nullptr);
}

TEST_F(WatchlistEditorTest, TypedTextGivesTheCodeAndName) {
    const struct {
        QString typed;
        WatchItem added;
    } cases[] = {
        {QStringLiteral("  sz000858  "), {"000858", "", InstrumentKind::stock}}, // the exchange prefix goes
        {QStringLiteral("601012   隆基 绿能"), {"601012", "隆基 绿能", InstrumentKind::stock}},
        {QStringLiteral("６０１９８９"), {"601989", "", InstrumentKind::stock}}, // full-width digits of an input method
    };
    for (const auto& c : cases) {
        type(c.typed);
        QTest::mouseClick(harness.root().watchlistSection()->addButton(), Qt::LeftButton);
        ASSERT_FALSE(harness.saves.empty()) << c.typed.toStdString();
        EXPECT_EQ(harness.saves.back().watchlist.back(), c.added) << c.typed.toStdString();
    }
}

TEST_F(WatchlistEditorTest, FewerThanFiveDigitsAddNothingAndKeepTheText) {
    for (const QString& text :
         {QStringLiteral("6005"), QStringLiteral("茅台"), QStringLiteral("   "), QStringLiteral("sh12 34567")}) {
        type(text);
        pressReturn();
        EXPECT_EQ(fieldText(), text) << text.toStdString();
    }
    EXPECT_TRUE(harness.saves.empty());
    EXPECT_EQ(harness.config().watchlist.size(), 5u);
}

TEST_F(WatchlistEditorTest, ListedCodeOnlyClearsTheField) {
    type(QStringLiteral("sh600519 茅台"));
    pressReturn();
    EXPECT_TRUE(fieldText().isEmpty());
    EXPECT_TRUE(harness.saves.empty());
    EXPECT_EQ(harness.config().watchlist.front().name, "贵州茅台");
}

TEST_F(WatchlistEditorTest, FundRangesBecomeEtfsAndOtherCodesStocks) {
    const std::pair<const char*, InstrumentKind> cases[] = {
        {"512880", InstrumentKind::etf},   {"159915", InstrumentKind::etf},   {"588080", InstrumentKind::etf},
        {"000001", InstrumentKind::stock}, {"688981", InstrumentKind::stock}, {"501050", InstrumentKind::stock},
    };
    for (const auto& [code, kind] : cases) {
        type(QString::fromLatin1(code));
        pressReturn();
        ASSERT_FALSE(harness.saves.empty());
        EXPECT_EQ(harness.saves.back().watchlist.back().code, code);
        EXPECT_EQ(harness.saves.back().watchlist.back().kind, kind) << code;
    }
}

TEST_F(WatchlistEditorTest, DeletingRemovesItsPriceAlertsAndHiddenMarkButNotOthers) {
    harness.window().show(); // button clicks need a shown window
    QTest::mouseClick(button(QStringLiteral("delete"), "002003"), Qt::LeftButton);
    ASSERT_EQ(harness.saves.size(), 1u);
    const AppConfig& saved = harness.saves.back();
    EXPECT_EQ(codesOf(saved), (std::vector<std::string>{"600519", "300750", "510300", "588000"}));
    ASSERT_EQ(saved.alerts.priceAlerts.size(), 1u);
    EXPECT_EQ(saved.alerts.priceAlerts.front().code, "600519");

    QTest::mouseClick(button(QStringLiteral("delete"), "300750"), Qt::LeftButton);
    EXPECT_TRUE(harness.saves.back().hiddenCodes.empty());
    EXPECT_EQ(harness.saves.back().alerts.priceAlerts.size(), 1u);
}

TEST_F(WatchlistEditorTest, FirstRowCannotMoveUpAndLastRowCannotMoveDown) {
    harness.window().show();
    EXPECT_FALSE(button(QStringLiteral("moveUp"), "600519")->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("moveDown"), "600519")->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("moveUp"), "588000")->isEnabled());
    EXPECT_FALSE(button(QStringLiteral("moveDown"), "588000")->isEnabled());

    QTest::mouseClick(button(QStringLiteral("moveDown"), "600519"), Qt::LeftButton);
    EXPECT_EQ(codesOf(harness.saves.back()),
              (std::vector<std::string>{"300750", "600519", "510300", "002003", "588000"}));
    // The rows are redrawn for the new order.
    EXPECT_FALSE(button(QStringLiteral("moveUp"), "300750")->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("moveUp"), "600519")->isEnabled());

    QTest::mouseClick(button(QStringLiteral("moveUp"), "588000"), Qt::LeftButton);
    EXPECT_EQ(codesOf(harness.saves.back()),
              (std::vector<std::string>{"300750", "600519", "510300", "588000", "002003"}));
    EXPECT_FALSE(button(QStringLiteral("moveDown"), "002003")->isEnabled());

    // The ends stay put when asked directly too.
    AppConfig config = harness.saves.back();
    WatchlistEditing::move(config, "002003", 1);
    WatchlistEditing::move(config, "300750", -1);
    EXPECT_EQ(codesOf(config), codesOf(harness.saves.back()));
}

TEST_F(WatchlistEditorTest, OnlyItemHasBothMovesDisabled) {
    AppConfig single;
    single.watchlist = {{"600519", "贵州茅台", InstrumentKind::stock}};
    SettingsHarness one(single);
    EXPECT_FALSE(one.find<QToolButton>(QStringLiteral("moveUp:600519"))->isEnabled());
    EXPECT_FALSE(one.find<QToolButton>(QStringLiteral("moveDown:600519"))->isEnabled());
}

TEST_F(WatchlistEditorTest, EyeButtonHidesAndShowsWithMatchingTooltip) {
    harness.window().show();
    QToolButton* eye = button(QStringLiteral("hide"), "510300");
    EXPECT_EQ(eye->toolTip(), QStringLiteral("在浮窗里隐藏这只（仍会提醒）"));
    QTest::mouseClick(eye, Qt::LeftButton);
    EXPECT_EQ(harness.saves.back().hiddenCodes, (std::vector<std::string>{"300750", "510300"}));
    eye = button(QStringLiteral("hide"), "510300");
    EXPECT_EQ(eye->toolTip(), QStringLiteral("在浮窗里恢复显示"));

    QTest::mouseClick(button(QStringLiteral("hide"), "300750"), Qt::LeftButton);
    EXPECT_EQ(harness.saves.back().hiddenCodes, (std::vector<std::string>{"510300"}));
    // Hiding never touches the watch list itself.
    EXPECT_EQ(harness.saves.back().watchlist, testing::livedInConfig().watchlist);
}

TEST_F(WatchlistEditorTest, KeyboardMoveKeepsFocusOnTheMovedItemsButton) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    harness.window().activateWindow();
    QToolButton* down = button(QStringLiteral("moveDown"), "510300");
    down->setFocus();
    QTest::keyClick(down, Qt::Key_Space);
    EXPECT_EQ(codesOf(harness.saves.back()),
              (std::vector<std::string>{"600519", "300750", "002003", "510300", "588000"}));
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), QStringLiteral("moveDown:510300"));
    // Moving to the last row disables the button, so focus falls back to the field.
    QTest::keyClick(focused, Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), harness.root().watchlistSection()->codeField());
}

// The next enabled control that Tab reaches from `from`.
QWidget* nextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
        if (w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) return w;
    return nullptr;
}

TEST_F(WatchlistEditorTest, RebuiltRowsStayInTabOrderRightAfterTheAddButton) {
    harness.window().show();
    QPushButton* add = harness.root().watchlistSection()->addButton();
    QTest::mouseClick(button(QStringLiteral("hide"), "588000"), Qt::LeftButton); // rebuilds every row
    QCoreApplication::processEvents(); // new rows show once the layout has run
    QWidget* first = nextTabStop(add);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), QStringLiteral("shares:600519"))
        << first->metaObject()->className() << " " << first->accessibleName().toStdString();

    // Walking on visits every row before leaving the card, ending with the new row's buttons.
    QWidget* w = first;
    QString last;
    while (w && w->parentWidget() && w->parentWidget()->objectName().startsWith(QStringLiteral("row:"))) {
        last = w->objectName();
        w = nextTabStop(w);
    }
    EXPECT_EQ(last, QStringLiteral("delete:588000"));
}

TEST(WatchlistEditing, HoldingsTextIsJudgedAsItIsTyped) {
    using WatchlistEditing::Typed;
    const std::pair<const char*, Typed> shares[] = {
        {"", Typed::complete},
        {"0", Typed::complete},
        {"12300", Typed::complete},
        {"1000000000000", Typed::complete},
        {"1000000000001", Typed::partial},
        {"12345678901234", Typed::invalid},
        {"-5", Typed::invalid},
        {"1.5", Typed::invalid},
        {"12a", Typed::invalid},
        {" 1", Typed::invalid},
        {"１２", Typed::invalid},
    };
    for (const auto& [text, typed] : shares) EXPECT_EQ(WatchlistEditing::typedShares(text), typed) << text;
    const std::pair<const char*, Typed> costs[] = {
        {"", Typed::complete},         {"1400.5", Typed::complete}, {"3.9125", Typed::complete},
        {"0.001", Typed::complete},    {"12.", Typed::partial},     {".5", Typed::partial},
        {"0", Typed::partial},         {"0.000", Typed::partial},   {"3.91251", Typed::invalid},
        {"1.2.3", Typed::invalid},     {"-1", Typed::invalid},      {"1,5", Typed::invalid},
        {"123456789", Typed::invalid}, {"1e3", Typed::invalid},
    };
    for (const auto& [text, typed] : costs) EXPECT_EQ(WatchlistEditing::typedCost(text), typed) << text;
    EXPECT_EQ(WatchlistEditing::sharesOf("12300"), 12300);
    EXPECT_FALSE(WatchlistEditing::sharesOf(""));
    EXPECT_EQ(WatchlistEditing::costOf("3.9125"), 3.9125);
    EXPECT_FALSE(WatchlistEditing::costOf("12."));
}

TEST_F(WatchlistEditorTest, HoldingsFieldsTakeNumbersOnlyAndChangeOnlyTheirOwnItem) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    AppConfig expected = harness.config();
    auto* shares = harness.find<QLineEdit>(QStringLiteral("shares:510300"));
    auto* cost = harness.find<QLineEdit>(QStringLiteral("cost:510300"));
    ASSERT_TRUE(shares && cost);
    EXPECT_TRUE(shares->text().isEmpty());

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
}

TEST_F(WatchlistEditorTest, PrivacyModeShowsTheShareCountMaskedAndReadOnly) {
    AppConfig config = testing::livedInConfig();
    config.watchlist[0].shares = 300;
    config.watchlist[0].cost = 1400.5;
    SettingsHarness held{config};
    EXPECT_EQ(held.find<QLineEdit>(QStringLiteral("shares:600519"))->text(), QStringLiteral("300"));
    held.root().binding().edit([](AppConfig& c) { c.privacyMode = true; });
    auto* shares = held.find<QLineEdit>(QStringLiteral("shares:600519"));
    EXPECT_EQ(shares->text(), QStringLiteral("****"));
    EXPECT_TRUE(shares->isReadOnly());
    EXPECT_EQ(held.find<QLineEdit>(QStringLiteral("cost:600519"))->text(), QStringLiteral("1400.5"));
    EXPECT_TRUE(held.find<QLineEdit>(QStringLiteral("shares:510300"))->text().isEmpty())
        << "nothing held, nothing masked";
}

TEST_F(WatchlistEditorTest, EmptyListShowsTheInvitation) {
    SettingsHarness empty{AppConfig{}};
    bool found = false;
    for (QLabel* label : empty.window().findChildren<QLabel*>())
        found = found || label->text() == QStringLiteral("还没有标的，先添加一只股票或 ETF");
    EXPECT_TRUE(found);
}

} // namespace
} // namespace glimmer

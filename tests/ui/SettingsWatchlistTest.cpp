#include "settings/SettingsRootView.h"
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

TEST_F(WatchlistEditorTest, ExchangePrefixIsDroppedAndTheNameLeftEmpty) {
    type(QStringLiteral("  sz000858  "));
    QTest::mouseClick(harness.root().watchlistSection()->addButton(), Qt::LeftButton);
    ASSERT_EQ(harness.saves.size(), 1u);
    EXPECT_EQ(harness.saves.back().watchlist.back(), (WatchItem{"000858", "", InstrumentKind::stock}));
}

TEST_F(WatchlistEditorTest, NameAfterARunOfBlanksKeepsItsInnerBlanks) {
    type(QStringLiteral("601012   隆基 绿能"));
    pressReturn();
    ASSERT_EQ(harness.saves.size(), 1u);
    EXPECT_EQ(harness.saves.back().watchlist.back().name, "隆基 绿能");
}

TEST_F(WatchlistEditorTest, FullWidthDigitsFromAnInputMethodCountAsTheCode) {
    type(QStringLiteral("６０１８８８"));
    pressReturn();
    ASSERT_EQ(harness.saves.size(), 1u);
    EXPECT_EQ(harness.saves.back().watchlist.back().code, "601888");
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
    EXPECT_EQ(first->objectName(), QStringLiteral("moveDown:600519")) // move-up of the first row is off
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

TEST_F(WatchlistEditorTest, EmptyListShowsTheInvitation) {
    SettingsHarness empty{AppConfig{}};
    bool found = false;
    for (QLabel* label : empty.window().findChildren<QLabel*>())
        found = found || label->text() == QStringLiteral("还没有标的，先添加一只股票或 ETF");
    EXPECT_TRUE(found);
}

} // namespace
} // namespace glimmer

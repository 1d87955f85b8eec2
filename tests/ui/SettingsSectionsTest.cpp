#include "card/Theme.h"
#include "model/HotKeyKeys.h"
#include "settings/AboutSection.h"
#include "settings/AlertSection.h"
#include "settings/HotKeySection.h"
#include "settings/MaToggle.h"
#include "settings/SettingsRootView.h"
#include "settings/SoundSection.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using Views = std::vector<ChartView>;

using testing::livedInConfig;
using testing::SettingsHarness;

TEST(SettingsViewBoxes, CheckingAppendsUncheckingRemovesEveryCopyAndTheLastViewStays) {
    SettingsHarness h{AppConfig{}}; // [0, 1, 2, 4, 3]
    const auto box = [](SettingsHarness& s, int i) { return s.find<QCheckBox>(QStringLiteral("view:%1").arg(i)); };
    const auto twice = [&](int i) {
        box(h, i)->click();
        box(h, i)->click();
        return h.saves.back().enabledViews;
    };
    EXPECT_EQ(twice(0), (Views{macd, fundFlow, volume, dailyCandles, intraday}));
    EXPECT_EQ(twice(4), (Views{macd, fundFlow, dailyCandles, intraday, volume}));

    SettingsHarness copies{AppConfig{.enabledViews = {macd, fundFlow, macd}}};
    box(copies, 1)->click();
    EXPECT_EQ(copies.saves.back().enabledViews, Views{fundFlow});
    EXPECT_TRUE(box(copies, 2)->isChecked());
    EXPECT_FALSE(box(copies, 2)->isEnabled()) << "the only view left is locked";
    box(copies, 3)->click();
    EXPECT_EQ(copies.saves.back().enabledViews, (Views{fundFlow, dailyCandles}));
    EXPECT_TRUE(box(copies, 2)->isEnabled());

    // Removing every copy here would leave no view at all.
    SettingsHarness last{AppConfig{.enabledViews = {dailyCandles, dailyCandles}}};
    EXPECT_FALSE(box(last, 3)->isEnabled());
    box(last, 3)->setEnabled(true);
    box(last, 3)->click();
    EXPECT_TRUE(last.saves.empty());
    EXPECT_TRUE(box(last, 3)->isChecked());
}

TEST(SettingsSteppers, RangesAndStepsBoundWhatTheSteppersProduceAndEachChangesOnlyItsField) {
    const std::tuple<const char*, int, int, int> cases[] = {
        {"width", 240, 760, 10},         {"height", 150, 640, 6},          {"refreshSeconds", 5, 300, 5},
        {"viewRotateSeconds", 0, 30, 1}, {"autoRotateSeconds", 0, 120, 5}, {"快涨窗口", 1, 30, 1},
        {"快跌窗口", 1, 30, 1},          {"主力下降分钟数", 2, 30, 1},     {"同类预警冷却", 0, 120, 5}};
    SettingsHarness h{livedInConfig()};
    for (const auto& [name, minimum, maximum, step] : cases) {
        auto* box = h.find<QSpinBox>(QString::fromUtf8(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(std::tuple(box->minimum(), box->maximum(), box->singleStep()), std::tuple(minimum, maximum, step))
            << name;
    }
    for (const auto& [name, minimum, maximum, step] : cases) h.find<QSpinBox>(QString::fromUtf8(name))->stepUp();
    AppConfig expected = livedInConfig();
    expected.width = 390;
    expected.height = 234;
    expected.refreshSeconds = 25;
    expected.viewRotateSeconds = 7;
    expected.autoRotateSeconds = 35;
    expected.alerts.fastRiseWindowMinutes = 4;
    expected.alerts.fastDropWindowMinutes = 4;
    expected.alerts.mainFallingSamples = 6;
    expected.alerts.cooldownMinutes = 20;
    ASSERT_EQ(h.saves.size(), 9u);
    expected.alerts.priceAlerts = h.saves.back().alerts.priceAlerts; // ids are random per build
    EXPECT_EQ(h.saves.back(), expected);
}

TEST(SettingsAlerts, ChipsKeepTheSortedPeriodsANewPriceAlertTakesTheFirstItemAndFieldsChangeOnlyTheirValue) {
    SettingsHarness empty{AppConfig{}}; // 5, 10, 20, 60
    std::map<int, MaToggle*> chips;
    for (MaToggle* chip : empty.window().findChildren<MaToggle*>()) chips[chip->period()] = chip;
    ASSERT_EQ(chips.size(), 7u);
    EXPECT_FALSE(chips[30]->isChecked());
    chips[30]->click();
    EXPECT_EQ(empty.saves.back().alerts.maTouchPeriods, (std::vector<int>{5, 10, 20, 30, 60}));
    EXPECT_TRUE(chips[30]->isChecked());
    for (int period : {5, 10, 20, 30, 60}) chips[period]->click();
    EXPECT_TRUE(empty.saves.back().alerts.maTouchPeriods.empty());
    EXPECT_FALSE(chips[60]->isChecked());
    empty.root().alertSection()->addPriceAlertButton()->click();
    EXPECT_EQ(empty.saves.back().alerts.priceAlerts.back().code, "") << "no item, no instrument";

    SettingsHarness h{livedInConfig()};
    h.root().alertSection()->addPriceAlertButton()->click();
    ASSERT_EQ(h.saves.size(), 1u);
    const PriceAlert added = h.saves.back().alerts.priceAlerts.back();
    EXPECT_EQ(added, (PriceAlert{added.id, "600519", PriceAlertDirection::below, 0, true, ""}));
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.size(), 4u);

    // Typing a price into the new row updates only that alert; text that is no number changes nothing.
    auto* row = h.find<QWidget>(QStringLiteral("priceAlert:") + QString::fromStdString(added.id.string()));
    ASSERT_NE(row, nullptr);
    auto* price = row->findChild<QLineEdit*>();
    price->selectAll();
    QTest::keyClicks(price, QStringLiteral("1500.5"));
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.back().price, 1500.5);
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.front().price, 10);
    price->clear();
    QTest::keyClicks(price, QStringLiteral("abc"));
    EXPECT_EQ(h.config().alerts.priceAlerts.back().price, 1500.5);
    auto* direction = row->findChildren<QComboBox*>().at(1);
    direction->setCurrentIndex(1);
    emit direction->activated(1);
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.back().direction, PriceAlertDirection::above);

    // A rule field keeps the half-typed text while each step saves its number; left holding no
    // number, it shows the stored value again.
    auto* tolerance = h.find<QLineEdit>(QStringLiteral("回踩距离"));
    tolerance->selectAll();
    QTest::keyClicks(tolerance, QStringLiteral("0.50"));
    EXPECT_EQ(tolerance->text(), QStringLiteral("0.50"));
    EXPECT_EQ(h.saves.back().alerts.maTouchTolerancePercent, 0.5);
    auto* percent = h.find<QLineEdit>(QStringLiteral("快涨涨幅"));
    EXPECT_EQ(percent->text(), QStringLiteral("2.5"));
    percent->setFocus();
    percent->selectAll();
    QTest::keyClicks(percent, QStringLiteral("x"));
    emit percent->editingFinished();
    EXPECT_EQ(percent->text(), QStringLiteral("2.5"));
    EXPECT_EQ(h.config().alerts.fastRisePercent, 2.5);
}

TEST(SettingsAlerts, InstrumentPickerFollowsTheWatchListAndTrashRemovesOnlyItsOwnRow) {
    AppConfig config = livedInConfig();
    config.alerts.priceAlerts[2].code = "000001"; // not on the watch list any more
    SettingsHarness h(config);
    const auto row = [&](int i) {
        return h.find<QWidget>(QStringLiteral("priceAlert:") +
                               QString::fromStdString(config.alerts.priceAlerts[i].id.string()));
    };
    QComboBox* first = row(0)->findChildren<QComboBox*>().at(0);
    ASSERT_EQ(first->count(), 5);
    EXPECT_EQ(first->itemText(0), QStringLiteral("600519 贵州茅台"));
    EXPECT_EQ(first->currentText(), QStringLiteral("002003 伟星股份"));
    EXPECT_EQ(row(2)->findChildren<QComboBox*>().at(0)->currentIndex(), -1);
    first->setCurrentIndex(2);
    emit first->activated(2);
    EXPECT_EQ(h.saves.back().alerts.priceAlerts[0].code, "510300");

    h.root().watchlistSection()->codeField()->setText(QStringLiteral("601318 中国平安"));
    h.root().watchlistSection()->addTypedItem();
    first = row(0)->findChildren<QComboBox*>().at(0);
    EXPECT_EQ(first->count(), 6);
    EXPECT_EQ(first->currentText(), QStringLiteral("510300 沪深300ETF"));

    h.window().show();
    const AppConfig before = h.config();
    QTest::mouseClick(row(1)->findChild<QToolButton*>(QStringLiteral("deleteAlert")), Qt::LeftButton);
    EXPECT_EQ(h.saves.back().alerts.priceAlerts,
              (std::vector<PriceAlert>{before.alerts.priceAlerts[0], before.alerts.priceAlerts[2]}));
}

class HotKeyRecorderTest : public ::testing::Test {
protected:
    void SetUp() override { h.window().show(); }
    HotKeySection& section() { return *h.root().hotKeySection(); }
    QPushButton& button() { return *section().recordButton(); }

    SettingsHarness h{livedInConfig()};
};

TEST_F(HotKeyRecorderTest, AModifiedKeyIsStoredAndBareKeysOrModifiersAreIgnoredWhileRecordingGoesOn) {
    ASSERT_TRUE(testing::waitForExposed(h.window()));
    EXPECT_EQ(button().text(), QStringLiteral("Ctrl+Super+R"));
    QTest::mouseClick(&button(), Qt::LeftButton);
    EXPECT_TRUE(section().isRecording());
    EXPECT_EQ(button().text(), QStringLiteral("请按下组合键…"));
    QTest::keyClick(&button(), Qt::Key_F);
    QTest::keyClick(&button(), Qt::Key_Alt, Qt::AltModifier); // a modifier on its own
    EXPECT_TRUE(section().isRecording());
    EXPECT_TRUE(h.saves.empty());

    // Qt names the Mac command key Control and option Alt.
    QTest::keyClick(&button(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(section().isRecording());
    ASSERT_EQ(h.saves.size(), 1u);
    EXPECT_EQ(h.saves.back().hotkey, (HotKeySpec{3, 0x900, HotKeyKeys::displayName(3, 0x900), true}));
    EXPECT_EQ(button().text(), QString::fromStdString(h.saves.back().hotkey.displayName));

    QTest::mouseClick(&button(), Qt::LeftButton);
    QTest::keyClick(&button(), Qt::Key_G, Qt::ShiftModifier); // Shift alone is accepted
    EXPECT_EQ(h.saves.back().hotkey.keyCode, 5u);
    EXPECT_EQ(h.saves.back().hotkey.modifiers, 0x200u);
}

TEST_F(HotKeyRecorderTest, TakesFunctionNavigationAndShiftedKeysByTheKeyNotItsCharacter) {
    const std::tuple<int, Qt::KeyboardModifiers, quint32, const char*, std::uint32_t> cases[] = {
        {Qt::Key_F1, Qt::ControlModifier, 67, "", 122},
        {Qt::Key_PageDown, Qt::AltModifier, 117, "", 121},
        {Qt::Key_A, Qt::ControlModifier, 38, "a", 0},
        // X reports the shifted character; the key code says which key it was.
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10, "!", 18},
        {Qt::Key_ParenRight, Qt::ControlModifier | Qt::ShiftModifier, 19, ")", 29},
        {Qt::Key_Underscore, Qt::AltModifier | Qt::ShiftModifier, 20, "_", 27},
    };
    for (const auto& [qtKey, modifiers, nativeScanCode, text, keyCode] : cases) {
        QTest::mouseClick(&button(), Qt::LeftButton);
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, nativeScanCode, 0, 0, QString::fromUtf8(text));
        QApplication::sendEvent(&button(), &press);
        EXPECT_FALSE(section().isRecording()) << keyCode;
        EXPECT_EQ(h.saves.back().hotkey.keyCode, keyCode);
    }
    EXPECT_EQ(button().text(), QStringLiteral("Alt+Shift+-"));
    // A shifted symbol with no key code to go by (F13 is not in the table either) is not taken.
    QTest::mouseClick(&button(), Qt::LeftButton);
    QTest::keyClick(&button(), Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&button(), Qt::Key_F13, Qt::ControlModifier);
    EXPECT_TRUE(section().isRecording());
    EXPECT_EQ((std::vector{HotKeySection::carbonModifiers(Qt::ControlModifier | Qt::MetaModifier),
                           HotKeySection::carbonModifiers(Qt::ShiftModifier | Qt::AltModifier),
                           HotKeySection::carbonModifiers(Qt::KeypadModifier)}),
              (std::vector<std::uint32_t>{0x1100, 0xA00, 0}));
}

TEST_F(HotKeyRecorderTest, ASecondPressOrClosingStopsRecordingAndThePrivacyKeyHasItsOwnRecorder) {
    QTest::mouseClick(&button(), Qt::LeftButton);
    QTest::mouseClick(&button(), Qt::LeftButton);
    EXPECT_FALSE(section().isRecording());
    EXPECT_EQ(button().text(), QStringLiteral("Ctrl+Super+R"));
    QTest::keyClick(&button(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier); // goes to the form again
    QTest::mouseClick(&button(), Qt::LeftButton);
    h.window().close();
    EXPECT_FALSE(section().isRecording());
    QTest::keyClick(&h.window(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(h.saves.empty());

    h.window().show();
    QCheckBox& toggle = *section().privacyToggle();
    QPushButton& privacy = *section().privacyRecordButton();
    EXPECT_FALSE(toggle.isChecked()) << "off by default";
    EXPECT_EQ(privacy.text(), QStringLiteral("Ctrl+Alt+P"));
    QTest::mouseClick(&privacy, Qt::LeftButton);
    EXPECT_EQ(button().text(), QStringLiteral("Ctrl+Super+R")) << "only the pressed recorder listens";
    QTest::keyClick(&privacy, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    toggle.click();
    ASSERT_EQ(h.saves.size(), 2u);
    EXPECT_EQ(h.saves.back().privacyHotkey, (HotKeySpec{4, 0x300, HotKeyKeys::displayName(4, 0x300), true}));
    EXPECT_EQ(h.saves.back().hotkey, livedInConfig().hotkey) << "the panel key is untouched";
}

TEST(SettingsSound, CustomFileDisablesTheSystemPickerUntilClearedAndCancellingChangesNothing) {
    SettingsHarness h{livedInConfig()};
    h.window().show();
    SoundSection& sound = *h.root().soundSection();
    EXPECT_TRUE(sound.systemSoundPicker()->isEnabled());
    EXPECT_EQ(sound.systemSoundPicker()->currentText(), QStringLiteral("Glass"));
    EXPECT_FALSE(sound.fileNameLabel()->isVisible());
    sound.setFileChooser([](QWidget*) { return std::optional<QString>(); });
    sound.chooseButton()->click();
    EXPECT_TRUE(h.saves.empty());

    sound.setFileChooser([](QWidget*) { return std::optional<QString>(QStringLiteral("/Users/li/声音/提醒.m4a")); });
    sound.chooseButton()->click();
    ASSERT_EQ(h.saves.size(), 1u);
    EXPECT_EQ(h.saves.back().sound.customFilePath, "/Users/li/声音/提醒.m4a");
    EXPECT_EQ(h.saves.back().sound.systemSoundName, "Glass");
    EXPECT_FALSE(sound.systemSoundPicker()->isEnabled());
    EXPECT_TRUE(sound.fileNameLabel()->isVisible());
    EXPECT_EQ(sound.fileNameLabel()->text(), QStringLiteral("提醒.m4a"));
    sound.clearButton()->click();
    EXPECT_EQ(h.saves.back().sound.customFilePath, "");
    EXPECT_TRUE(sound.systemSoundPicker()->isEnabled());
    EXPECT_FALSE(sound.fileNameLabel()->isVisible());
}

TEST(SettingsControls, EachSetsItsFieldWhileListeningAndResettingSaveNothing) {
    SettingsHarness h{AppConfig{}};
    h.byAccessibleName<QPushButton>(QStringLiteral("试听"))->click(); // plays even while the sound is off
    h.byAccessibleName<QPushButton>(QStringLiteral("回到右下角"))->click();
    EXPECT_EQ(std::pair(h.testSoundPresses, h.resetPresses), std::pair(1, 1));
    EXPECT_TRUE(h.saves.empty());

    QComboBox* picker = h.root().soundSection()->systemSoundPicker();
    EXPECT_EQ(picker->currentText(), QStringLiteral("默认三连音"));
    picker->setCurrentIndex(picker->findText(QStringLiteral("Ping")));
    emit picker->activated(picker->currentIndex());
    EXPECT_EQ(h.saves.back().sound.systemSoundName, "Ping");
    h.find<QSlider>(QStringLiteral("volume"))->setValue(35);
    EXPECT_DOUBLE_EQ(h.saves.back().sound.volume, 0.35);
    QCheckBox* notifications = h.root().soundSection()->notificationsToggle();
    ASSERT_TRUE(notifications->isChecked()) << "on by default";
    notifications->click();
    EXPECT_FALSE(h.saves.back().sound.desktopNotifications);

    h.find<QSlider>(QStringLiteral("opacity"))->setValue(80);
    EXPECT_DOUBLE_EQ(h.saves.back().opacity, 0.8);
    h.find<QPushButton>(QStringLiteral("theme:dark"))->click();
    EXPECT_EQ(h.saves.back().themeMode, ThemeMode::dark);
    EXPECT_TRUE(h.root().isDark());
    h.find<QPushButton>(QStringLiteral("theme:light"))->click();
    EXPECT_FALSE(h.root().isDark());
    auto* note = h.find<QLabel>(QStringLiteral("pinnedNote"));
    EXPECT_TRUE(note->text().contains(QStringLiteral("（已关闭）")));
    h.byAccessibleName<QCheckBox>(QStringLiteral("常驻模式"))->click();
    EXPECT_TRUE(h.saves.back().dockPinned);
    EXPECT_TRUE(note->text().contains(QStringLiteral("（已开启）")));
    h.byAccessibleName<QCheckBox>(QStringLiteral("开机自启"))->click();
    EXPECT_FALSE(h.saves.back().autoLaunch);
}

TEST(SettingsWindowShape, SectionHeadingsTakeTheSecondaryColourOfEitherTheme) {
    SettingsHarness h{livedInConfig()};
    const auto colourOf = [](SettingsSection* section, const QString& text) {
        for (QLabel* l : section->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (l->text() == text) return l->palette().color(QPalette::WindowText);
        return QColor();
    };
    for (const char* theme : {"theme:light", "theme:dark"}) {
        h.find<QPushButton>(QString::fromLatin1(theme))->click();
        const QColor secondary = Theme::textSecondary().resolve(h.root().isDark());
        for (SettingsSection* section : h.window().findChildren<SettingsSection*>()) {
            EXPECT_EQ(colourOf(section, section->title()), secondary) << theme;
            if (!section->subtitle()) continue;
            const QColor hint = colourOf(section, *section->subtitle());
            EXPECT_EQ(hint.rgb(), secondary.rgb()) << theme;
            EXPECT_NEAR(hint.alphaF(), 0.7, 0.01);
        }
    }
}

TEST(SettingsWindowShape, ControlsHaveAccessibleNamesAndFocusTheConfigPathIsShortOnlyUnderHomeClosingIsReported) {
    SettingsHarness h{livedInConfig()};
    for (QWidget* w : h.window().findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        const bool inBox = qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent);
        const bool control = qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QSlider*>(w) || (qobject_cast<QLineEdit*>(w) && !inBox) ||
                             (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QAbstractSpinBox*>(parent));
        if (!control || parent->inherits("QLineEdit")) continue; // the clear button
        EXPECT_TRUE(!w->accessibleName().isEmpty() && (w->focusPolicy() & Qt::TabFocus))
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_TRUE(
        h.find<QLabel>(QStringLiteral("configPath"))->text().endsWith(QStringLiteral("/Glimmerbox/config.json")));
    EXPECT_EQ(AboutSection::configLine("/home/li/.local/share/Glimmerbox/config.json", "/home/li/"),
              QStringLiteral("配置存放：~/.local/share/Glimmerbox/config.json"));
    // A folder that merely starts with the home folder's name is not inside it.
    EXPECT_EQ(AboutSection::configLine("/home/lin/Glimmerbox/config.json", "/home/li"),
              QStringLiteral("配置存放：/home/lin/Glimmerbox/config.json"));
    EXPECT_TRUE(h.saves.empty()) << "building the window saves nothing";
    int closed = 0;
    h.window().onClose = [&] { ++closed; };
    h.window().show();
    h.window().close();
    EXPECT_EQ(closed, 1);
}

TEST(SettingsWindowShape, NoLabelIsCutAtTheDefaultOrTheMinimumWidthAndTheCardsStandOut) {
    AppConfig config = livedInConfig();
    config.themeMode = ThemeMode::dark;
    config.sound.customFilePath = "/Users/li/Music/提醒音.m4a";
    config.watchlist[0].shares = 300;
    config.watchlist[0].cost = 1400.5;
    config.watchlist[2].shares = 123000;
    SettingsHarness h(config, [](const std::string&) {
        return std::vector<SymbolHit>{{"601318", "中国平安", InstrumentKind::stock},
                                      {"601319", "中国人保", InstrumentKind::stock},
                                      {"512880", "证券ETF", InstrumentKind::etf}};
    });
    const auto clipped = [&] {
        QCoreApplication::processEvents();
        std::vector<std::string> cut;
        for (QLabel* l : h.window().findChildren<QLabel*>())
            if (l->isVisible() && !l->wordWrap() && !l->text().isEmpty() && l->width() < l->sizeHint().width())
                cut.push_back(l->text().toStdString());
        return cut;
    };
    h.window().show();
    ASSERT_TRUE(testing::waitForExposed(h.window()));
    h.root().watchlistSection()->codeField()->insert(QStringLiteral("中国"));
    ASSERT_TRUE(testing::waitUntil([&] { return !h.root().watchlistSection()->hits().empty(); }));
    EXPECT_EQ(clipped(), std::vector<std::string>{});
    h.window().resize(h.window().minimumSize());
    EXPECT_EQ(clipped(), std::vector<std::string>{});
    EXPECT_LE(h.root().widget()->minimumSizeHint().width(), h.root().viewport()->width()) << "nothing sticks out";
    const QImage image = h.window().grab().toImage();
    EXPECT_NE(image.pixelColor(4, 4), image.pixelColor(30, 30));
    EXPECT_LT(image.pixelColor(4, 4).lightness(), 128);
}

} // namespace
} // namespace glimmer

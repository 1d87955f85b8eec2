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

TEST(SettingsAppearance, SteppersKeepTheirRangesAndFieldsAndViewBoxesAppendRemoveEveryCopyAndKeepTheLastView) {
    const std::tuple<const char*, int, int, int> cases[] = {
        {"width", 240, 760, 10},         {"height", 150, 640, 6},          {"refreshSeconds", 5, 300, 5},
        {"viewRotateSeconds", 0, 30, 1}, {"autoRotateSeconds", 0, 120, 5}, {"快涨窗口", 1, 30, 1},
        {"快跌窗口", 1, 30, 1},          {"主力下降分钟数", 2, 30, 1},     {"同类预警冷却", 0, 120, 5}};
    SettingsHarness h{AppConfig{}};
    for (const auto& [name, minimum, maximum, step] : cases) {
        auto* box = h.find<QSpinBox>(QString::fromUtf8(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(std::tuple(box->minimum(), box->maximum(), box->singleStep()), std::tuple(minimum, maximum, step))
            << name;
        box->stepUp();
    }
    const AppConfig& c = h.saves.back();
    const AlertConfig& a = c.alerts;
    EXPECT_EQ(std::tuple(c.width, c.height, c.refreshSeconds, c.viewRotateSeconds, c.autoRotateSeconds,
                         a.fastRiseWindowMinutes, a.fastDropWindowMinutes, a.mainFallingSamples, a.cooldownMinutes),
              std::tuple(360.0, 222.0, 35.0, 6.0, 30.0, 4.0, 4.0, 6, 15.0));
    EXPECT_EQ(h.saves.size(), 9u);

    const auto box = [](SettingsHarness& s, int i) { return s.find<QCheckBox>(QStringLiteral("view:%1").arg(i)); };
    box(h, 0)->click(); // views [0, 1, 2, 4, 3]
    box(h, 0)->click();
    EXPECT_EQ(h.saves.back().enabledViews, (Views{macd, fundFlow, volume, dailyCandles, intraday}));

    SettingsHarness copies{AppConfig{.enabledViews = {macd, fundFlow, macd}}};
    box(copies, 1)->click();
    EXPECT_EQ(copies.saves.back().enabledViews, Views{fundFlow});
    EXPECT_EQ(std::pair(box(copies, 2)->isChecked(), box(copies, 2)->isEnabled()), std::pair(true, false))
        << "the only view left is locked";
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

TEST(SettingsAlerts, ChipsKeepTheSortedPeriodsANewPriceAlertTakesTheFirstItemAndFieldsChangeOnlyTheirValue) {
    SettingsHarness empty{AppConfig{}}; // 5, 10, 20, 60
    const auto chip = [&](int period) {
        return empty.byAccessibleName<MaToggle>(QStringLiteral("均线周期 M%1").arg(period));
    };
    chip(30)->click();
    EXPECT_EQ(empty.saves.back().alerts.maTouchPeriods, (std::vector<int>{5, 10, 20, 30, 60}));
    EXPECT_TRUE(chip(30)->isChecked());
    for (int period : {5, 10, 20, 30, 60}) chip(period)->click();
    EXPECT_TRUE(empty.saves.back().alerts.maTouchPeriods.empty());
    empty.root().alertSection()->addPriceAlertButton()->click();
    EXPECT_EQ(empty.saves.back().alerts.priceAlerts.back().code, "") << "no item, no instrument";

    SettingsHarness h{livedInConfig()};
    h.root().alertSection()->addPriceAlertButton()->click();
    const PriceAlert added = h.saves.back().alerts.priceAlerts.back();
    EXPECT_EQ(added, (PriceAlert{added.id, "600519", PriceAlertDirection::below, 0, true, ""}));
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.size(), 4u);

    auto* row = h.find<QWidget>(QStringLiteral("priceAlert:") + QString::fromStdString(added.id.string()));
    ASSERT_NE(row, nullptr);
    auto* price = row->findChild<QLineEdit*>();
    price->selectAll();
    QTest::keyClicks(price, QStringLiteral("1500.5"));
    EXPECT_EQ(h.saves.back().alerts.priceAlerts.back().price, 1500.5);
    auto* direction = row->findChildren<QComboBox*>().at(1);
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
    emit first->activated(2);
    EXPECT_EQ(h.saves.back().alerts.priceAlerts[0].code, "510300");

    h.root().watchlistSection()->codeField()->setText(QStringLiteral("601318 中国平安"));
    h.root().watchlistSection()->addTypedItem();
    first = row(0)->findChildren<QComboBox*>().at(0);
    EXPECT_EQ(first->count(), 6);
    EXPECT_EQ(first->currentText(), QStringLiteral("510300 沪深300ETF"));

    const AppConfig before = h.config();
    row(1)->findChild<QToolButton*>(QStringLiteral("deleteAlert"))->click();
    EXPECT_EQ(h.saves.back().alerts.priceAlerts,
              (std::vector<PriceAlert>{before.alerts.priceAlerts[0], before.alerts.priceAlerts[2]}));
}

TEST(HotKeyRecorder, TakesModifiedKeysByTheKeyNotItsCharacterAndStopsOnASecondPressOnClosingOrForTheOtherKey) {
    SettingsHarness h{livedInConfig()};
    HotKeySection& section = *h.root().hotKeySection();
    QPushButton& button = *section.recordButton();
    h.window().show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(button.text(), QStringLiteral("Ctrl+Super+R")) << "a second press stops recording";
    QTest::mouseClick(&button, Qt::LeftButton);
    h.window().close();
    EXPECT_FALSE(section.isRecording());
    QTest::keyClick(&h.window(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(h.saves.empty());

    h.window().show();
    ASSERT_TRUE(testing::waitForExposed(h.window()));
    QPushButton& privacy = *section.privacyRecordButton();
    EXPECT_EQ(privacy.text(), QStringLiteral("Ctrl+Alt+P"));
    QTest::mouseClick(&privacy, Qt::LeftButton);
    EXPECT_EQ(button.text(), QStringLiteral("Ctrl+Super+R")) << "only the pressed recorder listens";
    QTest::keyClick(&privacy, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    section.privacyToggle()->click();
    ASSERT_EQ(h.saves.size(), 2u);
    EXPECT_EQ(h.saves.back().privacyHotkey, (HotKeySpec{4, 0x300, HotKeyKeys::displayName(4, 0x300), true}));
    EXPECT_EQ(h.saves.back().hotkey, livedInConfig().hotkey) << "the panel key is untouched";

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(button.text(), QStringLiteral("请按下组合键…"));
    QTest::keyClick(&button, Qt::Key_F);
    QTest::keyClick(&button, Qt::Key_Alt, Qt::AltModifier); // a modifier on its own
    EXPECT_TRUE(section.isRecording());
    // Qt names the Mac command key Control and option Alt.
    QTest::keyClick(&button, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(h.saves.size(), 3u);
    EXPECT_EQ(h.saves.back().hotkey, (HotKeySpec{3, 0x900, HotKeyKeys::displayName(3, 0x900), true}));
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::keyClick(&button, Qt::Key_G, Qt::ShiftModifier); // Shift alone is accepted
    EXPECT_EQ(std::pair(h.saves.back().hotkey.keyCode, h.saves.back().hotkey.modifiers), std::pair(5u, 0x200u));

    const std::tuple<int, Qt::KeyboardModifiers, quint32, const char*, std::uint32_t> cases[] = {
        {Qt::Key_F1, Qt::ControlModifier, 67, "", 122},
        {Qt::Key_PageDown, Qt::AltModifier, 117, "", 121},
        {Qt::Key_A, Qt::ControlModifier, 38, "a", 0},
        // X reports the shifted character; the key code says which key it was.
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10, "!", 18},
        {Qt::Key_Underscore, Qt::AltModifier | Qt::ShiftModifier, 20, "_", 27},
    };
    for (const auto& [qtKey, modifiers, nativeScanCode, text, keyCode] : cases) {
        QTest::mouseClick(&button, Qt::LeftButton);
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, nativeScanCode, 0, 0, QString::fromUtf8(text));
        QApplication::sendEvent(&button, &press);
        EXPECT_FALSE(section.isRecording()) << keyCode;
        EXPECT_EQ(h.saves.back().hotkey.keyCode, keyCode);
    }
    EXPECT_EQ(button.text(), QStringLiteral("Alt+Shift+-"));
    // A shifted symbol with no key code to go by is not taken.
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::keyClick(&button, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(section.isRecording());
    EXPECT_EQ(HotKeySection::carbonModifiers(Qt::ControlModifier | Qt::MetaModifier), 0x1100u);
}

TEST(SettingsSound, CustomFileDisablesTheSystemPickerUntilClearedAndCancellingChangesNothing) {
    SettingsHarness h{livedInConfig()};
    h.window().show();
    SoundSection& sound = *h.root().soundSection();
    const auto shown = [&] {
        return std::pair(sound.systemSoundPicker()->isEnabled(), sound.fileNameLabel()->isVisible());
    };
    EXPECT_EQ(shown(), std::pair(true, false));
    EXPECT_EQ(sound.systemSoundPicker()->currentText(), QStringLiteral("Glass"));
    sound.setFileChooser([](QWidget*) { return std::optional<QString>(); });
    sound.chooseButton()->click();
    EXPECT_TRUE(h.saves.empty());

    sound.setFileChooser([](QWidget*) { return std::optional<QString>(QStringLiteral("/Users/li/声音/提醒.m4a")); });
    sound.chooseButton()->click();
    ASSERT_EQ(h.saves.size(), 1u);
    EXPECT_EQ(h.saves.back().sound.customFilePath, "/Users/li/声音/提醒.m4a");
    EXPECT_EQ(h.saves.back().sound.systemSoundName, "Glass");
    EXPECT_EQ(shown(), std::pair(false, true));
    EXPECT_EQ(sound.fileNameLabel()->text(), QStringLiteral("提醒.m4a"));
    sound.clearButton()->click();
    EXPECT_EQ(h.saves.back().sound.customFilePath, "");
    EXPECT_EQ(shown(), std::pair(true, false));
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
    h.root().soundSection()->notificationsToggle()->click();
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

TEST(SettingsWindowShape, ControlsAreNamedAndFocusableHeadingsTakeTheSecondaryColourAndNoLabelIsCutAtAnyWidth) {
    AppConfig config = livedInConfig();
    config.sound.customFilePath = "/Users/li/Music/提醒音.m4a";
    SettingsHarness h(config, [](const std::string&) {
        return std::vector<SymbolHit>{{"601318", "中国平安", InstrumentKind::stock},
                                      {"601319", "中国人保", InstrumentKind::stock},
                                      {"512880", "证券ETF", InstrumentKind::etf}};
    });
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
    EXPECT_TRUE(h.saves.empty()) << "building the window saves nothing";
    EXPECT_TRUE(
        h.find<QLabel>(QStringLiteral("configPath"))->text().endsWith(QStringLiteral("/Glimmerbox/config.json")));
    EXPECT_EQ(AboutSection::configLine("/home/li/.local/share/Glimmerbox/config.json", "/home/li/"),
              QStringLiteral("配置存放：~/.local/share/Glimmerbox/config.json"));
    // A folder that merely starts with the home folder's name is not inside it.
    EXPECT_EQ(AboutSection::configLine("/home/lin/Glimmerbox/config.json", "/home/li"),
              QStringLiteral("配置存放：/home/lin/Glimmerbox/config.json"));

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

    const auto clipped = [&] {
        QCoreApplication::processEvents();
        std::vector<std::string> cut;
        for (QLabel* l : h.window().findChildren<QLabel*>())
            if (l->isVisible() && !l->wordWrap() && !l->text().isEmpty() && l->width() < l->sizeHint().width())
                cut.push_back(l->text().toStdString());
        return cut;
    };
    int closed = 0;
    h.window().onClose = [&] { ++closed; };
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
    h.window().close();
    EXPECT_EQ(closed, 1);
}

} // namespace
} // namespace glimmer

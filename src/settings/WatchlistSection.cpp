#include "settings/WatchlistSection.h"

#include "model/HoldingsText.h"
#include "settings/ConfigBinding.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsWidgets.h"
#include "settings/SymbolSuggester.h"
#include "settings/WatchlistEditing.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace glimmer {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

const QColor iconGrey(128, 128, 133);
const QColor trashRed(230, 60, 55, 204); // red at 80 % opacity

} // namespace

WatchlistSection::WatchlistSection(ConfigBinding& binding, SymbolSearch::Lookup search, QWidget* parent)
    : SettingsSection(QStringLiteral("轮播清单"),
                      QStringLiteral("单击切视图、双击切股票、左右拖动也可切股票；双击白点锁定该视图"), parent),
      binding(binding) {
    auto* inputRow = new QHBoxLayout;
    inputRow->setSpacing(8);
    field = new QLineEdit(this);
    field->setFixedWidth(380);
    field->setPlaceholderText(QStringLiteral("代码 / 中文名 / 拼音，如 600519、茅台、gzmt"));
    field->setAccessibleName(QStringLiteral("添加标的：代码、中文名或拼音"));
    field->setClearButtonEnabled(true);
    add = new QPushButton(QStringLiteral("添加"), this);
    add->setAccessibleName(QStringLiteral("添加"));
    add->setAutoDefault(false);
    inputRow->addWidget(field);
    inputRow->addWidget(add);
    inputRow->addStretch(1);
    contentLayout()->addLayout(inputRow);

    hitList = new SoftPanel(this);
    hitList->setAccessibleName(QStringLiteral("搜索建议"));
    hitLayout = new QVBoxLayout(hitList);
    hitLayout->setContentsMargins(2, 2, 2, 2);
    hitLayout->setSpacing(0);
    hitList->hide();
    contentLayout()->addWidget(hitList);

    rowList = new QWidget(this);
    rowLayout = new QVBoxLayout(rowList);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(0);
    contentLayout()->addWidget(rowList);

    contentLayout()->addWidget(SettingsControls::divider(this));
    contentLayout()->addWidget(SettingsControls::hint(QStringLiteral("轮播间隔在外观与位置里设置"), this));

    lookup = new SymbolSuggester(std::move(search), this);
    lookup->onHits = [this](const std::vector<SymbolHit>& hits) { showHits(hits); };
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { lookup->schedule(text); });
    connect(field, &QLineEdit::returnPressed, this, &WatchlistSection::addTypedItem);
    field->installEventFilter(this);
    connect(add, &QPushButton::clicked, this, &WatchlistSection::addTypedItem);
    connect(&binding, &ConfigBinding::changed, this, &WatchlistSection::sync);
    sync();
}

void WatchlistSection::addTypedItem() {
    const std::string text = field->text().toStdString();
    WatchlistEditing::AddResult result = WatchlistEditing::AddResult::ignored;
    binding.edit([&](AppConfig& config) { result = WatchlistEditing::addTyped(config, text); });
    if (result == WatchlistEditing::AddResult::ignored) return;
    field->clear();
    showHits({});
}

void WatchlistSection::pick(const SymbolHit& hit) {
    binding.edit([&](AppConfig& config) {
        WatchlistEditing::addItem(config, WatchItem{hit.code, hit.name, hit.kind});
    });
    field->clear();
    lookup->cancel();
    showHits({});
    field->setFocus();
}

void WatchlistSection::showHits(const std::vector<SymbolHit>& hits) {
    shownHits = hits;
    while (QLayoutItem* item = hitLayout->takeAt(0)) {
        if (QWidget* w = item->widget()) SettingsControls::retire(w);
        delete item;
    }
    for (const SymbolHit& hit : shownHits) {
        auto* button = new QPushButton(hitList);
        button->setFlat(true);
        button->setObjectName(QStringLiteral("hit:") + qs(hit.code));
        button->setAccessibleName(qs(hit.code) + QLatin1Char(' ') + qs(hit.name) + QLatin1Char(' ') +
                                  SettingsControls::kindText(hit.kind));
        button->setCursor(Qt::PointingHandCursor);
        auto* layout = new QHBoxLayout(button);
        layout->setContentsMargins(6, 3, 6, 3);
        layout->setSpacing(8);
        auto* code = new QLabel(qs(hit.code), button);
        code->setFixedWidth(60);
        auto* name = new QLabel(qs(hit.name), button);
        QLabel* tag = SettingsControls::kindTag(hit.kind, button);
        for (QWidget* part : std::initializer_list<QWidget*>{code, name, tag})
            part->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(code);
        layout->addWidget(name);
        layout->addWidget(tag);
        layout->addStretch(1);
        button->setMinimumHeight(layout->sizeHint().height());
        connect(button, &QPushButton::clicked, this, [this, hit] { pick(hit); });
        button->installEventFilter(this);
        hitLayout->addWidget(button);
    }
    hitList->setVisible(!shownHits.empty());
    SettingsControls::chainFocusAfter(add, {hitList, rowList});
}

bool WatchlistSection::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return SettingsSection::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Down && key != Qt::Key_Up) return SettingsSection::eventFilter(watched, event);
    QList<QPushButton*> buttons;
    for (int i = 0; i < hitLayout->count(); ++i)
        if (auto* b = qobject_cast<QPushButton*>(hitLayout->itemAt(i)->widget())) buttons.append(b);
    if (buttons.isEmpty()) return SettingsSection::eventFilter(watched, event);
    if (watched == field) {
        if (key != Qt::Key_Down) return SettingsSection::eventFilter(watched, event);
        buttons.front()->setFocus(Qt::TabFocusReason);
        return true;
    }
    const auto index = buttons.indexOf(static_cast<QPushButton*>(watched));
    if (index < 0) return SettingsSection::eventFilter(watched, event);
    const auto next = index + (key == Qt::Key_Down ? 1 : -1);
    if (next < 0)
        field->setFocus(Qt::BacktabFocusReason);
    else if (next < buttons.size())
        buttons[next]->setFocus(Qt::TabFocusReason);
    return true;
}

void WatchlistSection::sync() {
    const AppConfig& config = binding.config();
    const bool sameRows = built && WatchlistEditing::sameSecurities(config.watchlist, builtItems) &&
                          config.hiddenCodes == builtHidden && config.privacyMode == builtPrivacy;
    if (!sameRows) {
        rebuildRows();
    } else if (config.watchlist != builtItems) {
        // Only holdings changed: the rows stay, so the field being typed in keeps its focus.
        builtItems = config.watchlist;
        refreshHoldingFields();
    }
}

QString WatchlistSection::holdingsText(const WatchItem& item, HoldingsValidator::Field field, bool privacy) {
    if (field == HoldingsValidator::Field::cost) {
        return item.cost ? SettingsControls::formatNumber(*item.cost) : QString();
    }
    if (!item.shares) return {};
    return privacy ? QString::fromUtf8(HoldingsText::mask) : QString::number(*item.shares);
}

QLineEdit* WatchlistSection::holdingsField(const WatchItem& item, HoldingsValidator::Field field, QWidget* row) {
    const bool isShares = field == HoldingsValidator::Field::shares;
    const QString code = qs(item.code);
    const QString title = isShares ? QStringLiteral("持股") : QStringLiteral("成本");
    auto* edit = new QLineEdit(row);
    edit->setObjectName((isShares ? QStringLiteral("shares:") : QStringLiteral("cost:")) + code);
    edit->setAccessibleName(title + QLatin1Char(' ') + code + QLatin1Char(' ') + qs(item.name));
    edit->setPlaceholderText(QStringLiteral("—"));
    edit->setFixedWidth(isShares ? 78 : 66);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const bool privacy = binding.config().privacyMode;
    edit->setText(holdingsText(item, field, privacy));
    if (isShares && privacy) {
        edit->setReadOnly(true);
        edit->setToolTip(QStringLiteral("隐私模式下不显示持股数，关闭隐私模式后可编辑"));
        return edit;
    }
    edit->setToolTip(isShares ? QStringLiteral("持有股数（整数），留空表示未持有")
                              : QStringLiteral("每股成本价，留空表示未填"));
    const std::string key = item.code;
    edit->setValidator(new HoldingsValidator(
        field,
        [this, key, field] {
            for (const WatchItem& w : binding.config().watchlist)
                if (w.code == key) return holdingsText(w, field, false);
            return QString();
        },
        edit));
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, key, isShares] {
        const std::string text = edit->text().toStdString();
        binding.edit([&](AppConfig& c) {
            if (isShares) {
                WatchlistEditing::setShares(c, key, WatchlistEditing::sharesOf(text));
            } else {
                WatchlistEditing::setCost(c, key, WatchlistEditing::costOf(text));
            }
        });
    });
    return edit;
}

void WatchlistSection::refreshHoldingFields() {
    const AppConfig& config = binding.config();
    for (const WatchItem& item : config.watchlist) {
        for (const auto field : {HoldingsValidator::Field::shares, HoldingsValidator::Field::cost}) {
            const QString name =
                (field == HoldingsValidator::Field::shares ? QStringLiteral("shares:") : QStringLiteral("cost:")) +
                qs(item.code);
            auto* edit = rowList->findChild<QLineEdit*>(name);
            if (edit && !edit->hasFocus()) edit->setText(holdingsText(item, field, config.privacyMode));
        }
    }
}

void WatchlistSection::rebuildRows() {
    // Keep keyboard users on the button they just pressed, now in the item's new row.
    QString focusName;
    if (QWidget* focused = QApplication::focusWidget(); focused && rowList->isAncestorOf(focused))
        focusName = focused->objectName();

    while (QLayoutItem* item = rowLayout->takeAt(0)) {
        if (QWidget* w = item->widget()) SettingsControls::retire(w);
        delete item;
    }
    const AppConfig& config = binding.config();
    builtItems = config.watchlist;
    builtHidden = config.hiddenCodes;
    builtPrivacy = config.privacyMode;
    built = true;

    if (config.watchlist.empty()) {
        QLabel* invitation = SettingsControls::hint(QStringLiteral("还没有标的，先添加一只股票或 ETF"), rowList);
        invitation->setWordWrap(true);
        rowLayout->addWidget(invitation);
    }
    for (std::size_t i = 0; i < config.watchlist.size(); ++i) rowLayout->addWidget(makeRow(i));

    SettingsControls::chainFocusAfter(add, {hitList, rowList});
    if (!focusName.isEmpty()) {
        auto* target = rowList->findChild<QWidget*>(focusName);
        if (target && target->isEnabled())
            target->setFocus();
        else
            field->setFocus();
    }
}

QWidget* WatchlistSection::makeRow(std::size_t index) {
    const AppConfig& config = binding.config();
    const WatchItem& item = config.watchlist[index];
    const bool hidden = WatchlistEditing::isHidden(config, item.code);
    const QString code = qs(item.code);

    auto* row = new QWidget(rowList);
    row->setObjectName(QStringLiteral("row:") + code);
    row->setAccessibleName(code + QLatin1Char(' ') + qs(item.name));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(10);

    auto* codeLabel = new QLabel(code, row);
    codeLabel->setFixedWidth(60);
    auto* nameLabel = new QLabel(qs(item.name), row);
    layout->addWidget(codeLabel);
    layout->addWidget(nameLabel);
    layout->addWidget(SettingsControls::kindTag(item.kind, row));
    layout->addStretch(1);
    // Each field with its caption, so a filled-in number still says what it is.
    for (const auto field : {HoldingsValidator::Field::shares, HoldingsValidator::Field::cost}) {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(4);
        pair->addWidget(SettingsControls::hint(
            field == HoldingsValidator::Field::shares ? QStringLiteral("持股") : QStringLiteral("成本"), row));
        pair->addWidget(holdingsField(item, field, row));
        layout->addLayout(pair);
    }

    const QString who = code + QLatin1Char(' ') + qs(item.name);
    auto* up = SettingsControls::iconButton(SettingsControls::lineIcon(QStringLiteral("arrow.up"), iconGrey),
                                            QStringLiteral("上移 ") + who, row);
    up->setObjectName(QStringLiteral("moveUp:") + code);
    up->setEnabled(index > 0);
    auto* down = SettingsControls::iconButton(SettingsControls::lineIcon(QStringLiteral("arrow.down"), iconGrey),
                                              QStringLiteral("下移 ") + who, row);
    down->setObjectName(QStringLiteral("moveDown:") + code);
    down->setEnabled(index + 1 < config.watchlist.size());
    auto* eye = SettingsControls::iconButton(
        SettingsControls::lineIcon(hidden ? QStringLiteral("eye.slash") : QStringLiteral("eye"), iconGrey),
        hidden ? QStringLiteral("在浮窗里恢复显示") : QStringLiteral("在浮窗里隐藏这只（仍会提醒）"), row);
    eye->setObjectName(QStringLiteral("hide:") + code);
    eye->setAccessibleName((hidden ? QStringLiteral("恢复显示 ") : QStringLiteral("隐藏 ")) + who);
    auto* trash = SettingsControls::iconButton(SettingsControls::lineIcon(QStringLiteral("trash"), trashRed),
                                               QStringLiteral("删除 ") + who, row);
    trash->setObjectName(QStringLiteral("delete:") + code);
    for (QToolButton* b : {up, down, eye, trash}) layout->addWidget(b);

    const std::string key = item.code;
    connect(up, &QToolButton::clicked, this,
            [this, key] { binding.edit([&](AppConfig& c) { WatchlistEditing::move(c, key, -1); }); });
    connect(down, &QToolButton::clicked, this,
            [this, key] { binding.edit([&](AppConfig& c) { WatchlistEditing::move(c, key, +1); }); });
    connect(eye, &QToolButton::clicked, this,
            [this, key] { binding.edit([&](AppConfig& c) { WatchlistEditing::toggleHidden(c, key); }); });
    connect(trash, &QToolButton::clicked, this,
            [this, key] { binding.edit([&](AppConfig& c) { WatchlistEditing::remove(c, key); }); });

    if (hidden) {
        auto* fade = new QGraphicsOpacityEffect(row);
        fade->setOpacity(0.5);
        row->setGraphicsEffect(fade);
    }
    return row;
}

} // namespace glimmer

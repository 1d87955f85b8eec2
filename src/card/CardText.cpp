#include "card/CardText.h"

#include "card/ChartKit.h"
#include "model/TextFormat.h"

namespace glimmer::CardText {

QString placeholder(const std::optional<std::string>& placeholderText) {
    return QString::fromStdString(placeholderText.value_or(defaultPlaceholder));
}

QString name(const MarketEntry& entry) {
    return QString::fromStdString(displayName(entry.quote ? &*entry.quote : nullptr, entry.item));
}

QString withKeys(const char* text, HotKeyKeys::Combination keys) {
    return QString::fromUtf8(text) + QStringLiteral("（") + QString::fromStdString(HotKeyKeys::displayName(keys)) +
           QStringLiteral("）");
}

QString lockLabel(std::optional<ChartView> lockedView) {
    if (!lockedView) return {};
    return QStringLiteral("·锁定") + QString::fromUtf8(ChartViews::label(*lockedView));
}

QString price(const Quote& quote) {
    return ChartKit::px(quote.price, ChartKit::priceDecimals(quote.price));
}

QString changeLine(const Quote& quote, int decimals) {
    const double change = quote.price - quote.prevClose;
    const double percent = quote.prevClose > 0 ? change / quote.prevClose * 100 : 0;
    const QString sign = change > 0 ? QStringLiteral("+") : QString();
    return sign + ChartKit::px(change, decimals) + QStringLiteral("  ") + sign + ChartKit::px(percent, 2) +
           QStringLiteral("%");
}

QString timeText(const MarketEntry& entry) {
    QString date;
    QString time;
    if (entry.quote) {
        // Month-day: the last five characters of "yyyy-MM-dd".
        const std::string& tradeDate = entry.quote->tradeDate;
        const std::size_t length = TextFormat::utf8Length(tradeDate);
        const std::size_t skipped = TextFormat::utf8Prefix(tradeDate, length > 5 ? length - 5 : 0).size();
        date = QString::fromStdString(tradeDate.substr(skipped));
    }
    if (!entry.minutes.empty() && !entry.minutes.back().time.empty()) {
        time = QString::fromStdString(entry.minutes.back().time);
    } else if (entry.quote && entry.quote->quoteTime) {
        time = QString::fromStdString(*entry.quote->quoteTime);
    }
    if (!date.isEmpty() && !time.isEmpty()) return date + QLatin1Char(' ') + time;
    return date.isEmpty() ? time : date;
}

QString counter(int index, int total) {
    if (total < 1) return {};
    return QString::number(index + 1) + QLatin1Char('/') + QString::number(total);
}

QString banner(const std::string& message, double maxWidth, const std::function<double(const QString&)>& measure) {
    std::size_t count = TextFormat::utf8Length(message);
    QString text = QString::fromStdString(message);
    while (count >= 5 && measure(text) > maxWidth) {
        --count;
        text = QString::fromStdString(TextFormat::utf8Prefix(message, count));
    }
    return QString::fromUtf8(bannerPrefix) + text;
}

} // namespace glimmer::CardText

#include "card/HoldingStrip.h"

#include "card/ChartKit.h"
#include "card/Theme.h"
#include "model/HoldingsText.h"

#include <QFontMetricsF>
#include <QPainter>

namespace glimmer::HoldingStrip {

namespace {

constexpr double labelGap = 2.5;
constexpr double partGap = 7;

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

void addDistinct(std::vector<Line>& out, Line line) {
    if (line.empty()) return;
    for (const Line& existing : out)
        if (existing == line) return;
    out.push_back(std::move(line));
}

} // namespace

std::vector<Line> lines(const HoldingFigures& f, bool privacy) {
    const Part value{QStringLiteral("市值"), text(HoldingsText::amount(f.marketValue, false, privacy)), 0, true};
    std::optional<Part> today;
    if (f.todayProfit) {
        today = Part{QStringLiteral("今日"), text(HoldingsText::amount(*f.todayProfit, true, privacy)), *f.todayProfit};
    }
    std::optional<Part> total;
    std::optional<Part> percent;
    if (f.totalProfit && f.totalPercent) {
        const QString pct = text(HoldingsText::percent(*f.totalPercent));
        total =
            Part{QStringLiteral("持仓"),
                 text(HoldingsText::amount(*f.totalProfit, true, privacy)) + QLatin1Char(' ') + pct, *f.totalProfit};
        percent = Part{QStringLiteral("持仓"), pct, *f.totalProfit};
    }
    const auto line = [](std::initializer_list<const std::optional<Part>*> parts) {
        Line l;
        for (const std::optional<Part>* p : parts)
            if (*p) l.push_back(**p);
        return l;
    };
    const std::optional<Part> marketValue = value;
    std::vector<Line> out;
    addDistinct(out, line({&marketValue, &today, &total}));
    addDistinct(out, line({&today, &total}));
    addDistinct(out, line({&today, &percent}));
    addDistinct(out, line({&today}));
    addDistinct(out, line({&percent}));
    return out;
}

std::optional<Placement> place(const std::vector<double>& lineWidths, double headerWidth, double footerWidth) {
    for (std::size_t i = 0; i < lineWidths.size(); ++i) {
        if (lineWidths[i] <= headerWidth) return Placement{Slot::header, i};
        if (lineWidths[i] <= footerWidth) return Placement{Slot::footer, i};
    }
    return std::nullopt;
}

Fonts fonts(const QPaintDevice* device) {
    return {ChartKit::systemFont(8.5, QFont::Normal, device), ChartKit::digitsFont(9, QFont::Medium, device)};
}

double width(const Line& line, const Fonts& fonts, const QPaintDevice* device) {
    return widths({line}, fonts, device).front();
}

std::vector<double> widths(const std::vector<Line>& lines, const Fonts& fonts, const QPaintDevice* device) {
    // The lines share their parts; each part is measured once, as shaping is the cost.
    const QFontMetricsF labels(fonts.label, device);
    const QFontMetricsF values(fonts.value, device);
    std::vector<std::pair<Part, double>> measured;
    const auto partWidth = [&](const Part& part) {
        for (const auto& [known, w] : measured)
            if (known == part) return w;
        const double w = labels.horizontalAdvance(part.label) + labelGap + values.horizontalAdvance(part.value);
        measured.emplace_back(part, w);
        return w;
    };
    std::vector<double> out;
    out.reserve(lines.size());
    for (const Line& line : lines) {
        double total = 0;
        for (std::size_t i = 0; i < line.size(); ++i) total += (i > 0 ? partGap : 0) + partWidth(line[i]);
        out.push_back(total);
    }
    return out;
}

std::optional<Placed> arrange(const HoldingFigures& figures, bool privacy, const Stretch& header, const Stretch& footer,
                              const QPaintDevice* device) {
    std::vector<Line> all = lines(figures, privacy);
    const std::optional<Placement> placement =
        place(widths(all, fonts(device), device), header.width(), footer.width());
    if (!placement) return std::nullopt;
    const Stretch& stretch = placement->slot == Slot::header ? header : footer;
    return Placed{std::move(all[placement->line]), placement->slot,
                  QPointF(stretch.alignRight ? stretch.right : stretch.left, stretch.top), stretch.alignRight};
}

void paint(QPainter& painter, const Placed& strip, bool isDark) {
    const QPaintDevice* device = painter.device();
    const Fonts f = fonts(device);
    const Line& line = strip.line;
    double x = strip.alignRight ? strip.at.x() - width(line, f, device) : strip.at.x();
    const QColor labelColour = Theme::textTertiary().resolve(isDark);
    // The labels sit on the digits' baseline.
    const double labelTop =
        strip.at.y() + QFontMetricsF(f.value, device).ascent() - QFontMetricsF(f.label, device).ascent();
    for (std::size_t i = 0; i < line.size(); ++i) {
        const Part& part = line[i];
        if (i > 0) x += partGap;
        x += ChartKit::draw(painter, part.label, {x, labelTop}, f.label, labelColour, ChartKit::Align::left).width() +
             labelGap;
        const DynamicColor& tone = part.neutral    ? Theme::textSecondary()
                                   : part.tone > 0 ? Theme::up()
                                   : part.tone < 0 ? Theme::down()
                                                   : Theme::flat();
        x +=
            ChartKit::draw(painter, part.value, {x, strip.at.y()}, f.value, tone.resolve(isDark), ChartKit::Align::left)
                .width();
    }
}

} // namespace glimmer::HoldingStrip

#include "simmarket/Replies.h"

#include "model/TextFormat.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace glimmer::sim {

using Json = nlohmann::ordered_json;
using TextFormat::fixed;

namespace {

std::string two(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
    return buffer;
}

std::string hhmm(int label) {
    return two(label / 60) + ":" + two(label % 60);
}

std::string compactDate(int day) {
    const CivilTime t = MarketModel::civilDay(day);
    return std::to_string(t.year) + two(t.month) + two(t.day);
}

std::string stampText(const CivilTime& t) {
    return std::to_string(t.year) + two(t.month) + two(t.day) + two(t.hour) + two(t.minute) + two(t.second);
}

} // namespace

std::string Replies::isoDate(int day) {
    const CivilTime t = MarketModel::civilDay(day);
    return std::to_string(t.year) + "-" + two(t.month) + "-" + two(t.day);
}

std::string Replies::escapeUnicode(const std::string& utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned cp = c;
        std::size_t length = 1;
        if (c >= 0xF0 && i + 3 < utf8.size()) {
            cp = ((c & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) | ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3Fu);
            length = 4;
        } else if (c >= 0xE0 && i + 2 < utf8.size()) {
            cp = ((c & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            length = 3;
        } else if (c >= 0xC0 && i + 1 < utf8.size()) {
            cp = ((c & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            length = 2;
        }
        i += length;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        auto unit = [&out](unsigned u) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u & 0xFFFFu);
            out += buffer;
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

std::vector<std::string> Replies::quoteFields(const SimView& v) {
    const Security& s = v.security;
    const int d = s.decimals();
    const bool traded = !v.minutes.empty();
    const double tick = std::pow(10.0, -d);
    std::vector<std::string> f(88);
    f[0] = s.isShanghai() ? "1" : "51";
    f[1] = s.name;
    f[2] = s.code;
    f[3] = fixed(v.price, d);
    f[4] = fixed(v.prevClose, d);
    f[5] = fixed(v.open, d);
    f[6] = std::to_string(v.volume);
    const long long outer = v.volume * 52 / 100;
    f[7] = std::to_string(outer);
    f[8] = std::to_string(v.volume - outer);
    // Five bid and five ask levels around the last price.
    for (int level = 0; level < 5; ++level) {
        const long long size = traded ? 10 + (v.volume / 997 + level * 37) % 400 : 0;
        f[9 + level * 2] = fixed(traded ? v.price - tick * level : 0.0, d);
        f[10 + level * 2] = std::to_string(size);
        f[19 + level * 2] = fixed(traded ? v.price + tick * (level + 1) : 0.0, d);
        f[20 + level * 2] = std::to_string(size + 13);
    }
    f[29] = "";
    f[30] = stampText(v.stamp);
    const double change = v.price - v.prevClose;
    f[31] = fixed(change, d);
    f[32] = fixed(v.prevClose > 0 ? change / v.prevClose * 100.0 : 0.0, 2);
    f[33] = fixed(v.high, d);
    f[34] = fixed(v.low, d);
    f[35] = fixed(v.price, d) + "/" + std::to_string(v.volume) + "/" + fixed(v.amount, 0);
    f[36] = std::to_string(v.volume);
    f[37] = fixed(v.amount / 10000.0, 0);
    f[38] = fixed(static_cast<double>(v.volume) / 1e6, 2);
    f[39] = s.kind == SecurityKind::Stock ? "18.62" : "";
    f[40] = "";
    f[41] = fixed(v.high, d);
    f[42] = fixed(v.low, d);
    f[43] = fixed(v.prevClose > 0 && traded ? (v.high - v.low) / v.prevClose * 100.0 : 0.0, 2);
    f[44] = fixed(s.basePrice * 12.6, 2);
    f[45] = fixed(s.basePrice * 12.6, 2);
    f[46] = s.kind == SecurityKind::Stock ? "3.21" : "";
    f[47] = fixed(v.prevClose * 1.1, d);
    f[48] = fixed(v.prevClose * 0.9, d);
    f[49] = traded ? "1.02" : "0.00";
    f[50] = "0";
    f[51] = fixed(v.volume > 0 ? v.amount / (static_cast<double>(v.volume) * 100.0) : v.price, d);
    f[52] = s.kind == SecurityKind::Stock ? "17.90" : "";
    f[53] = s.kind == SecurityKind::Stock ? "19.35" : "";
    f[54] = "";
    f[55] = "";
    f[56] = "";
    f[57] = fixed(v.amount / 10000.0, 2);
    f[58] = "";
    f[59] = "";
    f[60] = "";
    f[61] = s.kind == SecurityKind::Etf ? "ETF" : (s.kind == SecurityKind::Index ? "ZS" : "GP-A");
    f[62] = fixed(change > 0 ? 1.23 : -1.23, 2);
    for (std::size_t i = 63; i < 87; ++i) f[i] = i % 3 == 0 ? "" : "0.00";
    f[87] = ""; // the payload ends in "~"
    return f;
}

std::string Replies::snapshot(const std::vector<SimView>& views, ReplyShape shape) {
    if (views.empty() || shape != ReplyShape::Normal) return "v_pv_none_match=\"1\";\n";
    std::string out;
    for (const SimView& v : views) {
        const std::vector<std::string> f = quoteFields(v);
        out += "v_" + v.security.symbol + "=\"";
        for (std::size_t i = 0; i < f.size(); ++i) {
            if (i > 0) out += '~';
            out += f[i];
        }
        out += "\";\n";
    }
    return out;
}

std::string Replies::trends(const SimView* v, ReplyShape shape) {
    if (!v || shape == ReplyShape::NullData) return Json{{"rc", v ? 0 : 100}, {"data", nullptr}}.dump();
    const Security& s = v->security;
    const int d = s.decimals();
    Json list = Json::array();
    if (shape == ReplyShape::Normal) {
        const std::string date = isoDate(v->day);
        for (const SimMinute& m : v->minutes) {
            list.push_back(date + " " + hhmm(m.label) + "," + fixed(m.open, d) + "," + fixed(m.close, d) + "," +
                           fixed(m.high, d) + "," + fixed(m.low, d) + "," + std::to_string(m.volume) + "," +
                           fixed(m.amount, 2) + "," + fixed(m.avg, 3));
        }
    }
    Json data = {{"code", s.code},
                 {"market", s.isShanghai() ? 1 : 0},
                 {"type", s.kind == SecurityKind::Etf ? 10 : 2},
                 {"status", 0},
                 {"name", s.name},
                 {"decimal", d},
                 {"preSettlement", 0.0},
                 {"preClose", v->prevClose},
                 {"beticks", "33300|34200|54000|34200|41400|46800|54000"},
                 {"trendsTotal", 241},
                 {"kind", 1},
                 {"prePrice", v->prevClose},
                 {"trends", list}};
    return Json{{"rc", 0}, {"rt", 10}, {"svr", 181669437}, {"lt", 1}, {"full", 1}, {"dlmkts", ""}, {"data", data}}
        .dump();
}

std::string Replies::eastmoneyFlow(const SimView* v, ReplyShape shape) {
    if (!v || shape == ReplyShape::NullData) return Json{{"rc", v ? 0 : 100}, {"data", nullptr}}.dump();
    const Security& s = v->security;
    Json klines = Json::array();
    if (shape == ReplyShape::Normal) {
        const std::string date = isoDate(v->day);
        // The first flow minute is 09:31; the auction has no flow of its own.
        for (std::size_t i = 1; i < v->minutes.size(); ++i) {
            const SimMinute& m = v->minutes[i];
            klines.push_back(date + " " + hhmm(m.label) + "," + fixed(m.mainFlow, 1) + "," + fixed(m.smallFlow, 1) +
                             "," + fixed(m.mediumFlow, 1) + "," + fixed(m.largeFlow, 1) + "," + fixed(m.superFlow, 1));
        }
    }
    const std::string day = compactDate(v->day);
    Json periods = Json::array({Json{{"b", std::stoll(day + "0930")}, {"e", std::stoll(day + "1130")}},
                                Json{{"b", std::stoll(day + "1300")}, {"e", std::stoll(day + "1500")}}});
    Json data = {{"code", s.code},
                 {"market", s.isShanghai() ? 1 : 0},
                 {"name", s.name},
                 {"tradePeriods", {{"pre", nullptr}, {"after", nullptr}, {"periods", periods}}},
                 {"klines", klines}};
    return Json{{"rc", 0}, {"rt", 21}, {"svr", 177617938}, {"lt", 1}, {"full", 0}, {"dlmkts", ""}, {"data", data}}
        .dump();
}

std::string Replies::tencentMinutes(const std::string& symbol, const SimView* v, ReplyShape shape) {
    if (shape == ReplyShape::NullData) return Json{{"code", 0}, {"msg", ""}, {"data", nullptr}}.dump();
    if (!v) return Json{{"code", -1}, {"msg", "param error"}, {"data", Json::object()}}.dump();
    const int d = v->security.decimals();
    Json lines = Json::array();
    if (shape == ReplyShape::Normal) {
        long long cumVolume = 0;
        double cumAmount = 0;
        for (const SimMinute& m : v->minutes) {
            cumVolume += m.volume;
            cumAmount += m.amount;
            lines.push_back(two(m.label / 60) + two(m.label % 60) + " " + fixed(m.close, d) + " " +
                            std::to_string(cumVolume) + " " + fixed(cumAmount, 2));
        }
    }
    Json symbolData = {{"data", {{"data", lines}, {"date", compactDate(v->day)}}},
                       {"qt", {{symbol, quoteFields(*v)}, {"market", Json::array({"sim"})}}}};
    return Json{{"code", 0}, {"msg", ""}, {"data", {{symbol, symbolData}}}}.dump();
}

std::string Replies::tencentFlow(const std::string& symbol, const SimView* v, ReplyShape shape) {
    if (shape == ReplyShape::NullData) return Json{{"code", 0}, {"msg", ""}, {"data", nullptr}}.dump();
    if (!v) return Json{{"code", -1}, {"msg", "code error " + symbol}, {"data", Json::object()}}.dump();
    Json list = Json::array();
    if (shape == ReplyShape::Normal) {
        const std::string day = compactDate(v->day);
        for (std::size_t i = 1; i < v->minutes.size(); ++i) {
            const SimMinute& m = v->minutes[i];
            list.push_back({{"time", day + two(m.label / 60) + two(m.label % 60) + "00"},
                            {"MainNetInflow", fixed(m.mainFlow, 2)},
                            {"SmallNetInflow", fixed(m.smallFlow, 2)},
                            {"MiddleNetInflow", fixed(m.mediumFlow, 2)},
                            {"BigNetInflow", fixed(m.largeFlow, 2)},
                            {"SuperNetInflow", fixed(m.superFlow, 2)}});
        }
    }
    Json trend = {{"date", isoDate(v->day)}, {"code", symbol}, {"minList", list}};
    return Json{{"code", 0}, {"msg", ""}, {"data", {{"todayFundTrend", trend}}}}.dump();
}

std::string Replies::tencentCandles(const std::string& symbol, const SimView* v, const std::vector<SimCandle>& candles,
                                    bool adjusted, ReplyShape shape) {
    if (shape == ReplyShape::NullData) return Json{{"code", 0}, {"msg", ""}, {"data", nullptr}}.dump();
    if (!v) return Json{{"code", 0}, {"msg", ""}, {"data", Json::object()}}.dump();
    const int d = v->security.decimals();
    Json rows = Json::array();
    if (shape == ReplyShape::Normal) {
        for (const SimCandle& c : candles) {
            rows.push_back(Json::array({isoDate(c.day), fixed(c.open, d), fixed(c.close, d), fixed(c.high, d),
                                        fixed(c.low, d), fixed(static_cast<double>(c.volume), 3)}));
        }
    }
    const bool qfq = adjusted && v->security.kind != SecurityKind::Index;
    Json symbolData = {{qfq ? "qfqday" : "day", rows},
                       {"qt", {{symbol, quoteFields(*v)}}},
                       {"prec", fixed(v->prevClose, d)},
                       {"version", "16"}};
    return Json{{"code", 0}, {"msg", ""}, {"data", {{symbol, symbolData}}}}.dump();
}

std::string Replies::sinaCandles(const SimView* v, const std::vector<SimCandle>& candles, ReplyShape shape) {
    if (!v || shape == ReplyShape::NullData) return "null";
    Json list = Json::array();
    if (shape == ReplyShape::Normal) {
        for (const SimCandle& c : candles) {
            list.push_back({{"day", isoDate(c.day)},
                            {"open", fixed(c.open, 3)},
                            {"high", fixed(c.high, 3)},
                            {"low", fixed(c.low, 3)},
                            {"close", fixed(c.close, 3)},
                            {"volume", std::to_string(c.volume * 100)}});
        }
    }
    return list.dump();
}

std::string Replies::suggestion(const std::vector<Security>& hits, ReplyShape shape) {
    if (hits.empty() || shape != ReplyShape::Normal) return "v_hint=\"N\";";
    std::string out = "v_hint=\"";
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const Security& s = hits[i];
        if (i > 0) out += '^';
        const char* type = "GP-A";
        if (s.kind == SecurityKind::Etf) type = "ETF";
        else if (s.kind == SecurityKind::Index) type = "ZS";
        else if (s.code.rfind("688", 0) == 0) type = "GP-A-KCB";
        out += s.symbol.substr(0, 2) + "~" + s.code + "~" + escapeUnicode(s.name) + "~" + s.pinyin + "~" + type;
    }
    out += "\";";
    return out;
}

} // namespace glimmer::sim

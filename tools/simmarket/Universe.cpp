#include "simmarket/Universe.h"

#include <algorithm>
#include <cstdint>

namespace glimmer::sim {

namespace {

Security make(const char* symbol, const char* name, const char* pinyin, SecurityKind kind, double price,
              double turnover) {
    Security s;
    s.symbol = symbol;
    s.code = s.symbol.substr(2);
    s.name = name;
    s.pinyin = pinyin;
    s.kind = kind;
    s.basePrice = price;
    s.dailyTurnover = turnover;
    return s;
}

std::vector<Security> buildListed() {
    using K = SecurityKind;
    return {
        make("sh600519", "贵州茅台", "gzmt", K::Stock, 1500.0, 5.5e9),
        make("sz300750", "宁德时代", "ndsd", K::Stock, 250.0, 6.0e9),
        make("sz000001", "平安银行", "payh", K::Stock, 11.5, 1.2e9),
        make("sh601318", "中国平安", "zgpa", K::Stock, 52.0, 3.0e9),
        make("sh600036", "招商银行", "zsyh", K::Stock, 38.0, 2.5e9),
        make("sz000858", "五粮液", "wly", K::Stock, 140.0, 2.8e9),
        make("sz000333", "美的集团", "mdjt", K::Stock, 72.0, 2.0e9),
        make("sz002594", "比亚迪", "byd", K::Stock, 290.0, 4.5e9),
        make("sh601012", "隆基绿能", "ljln", K::Stock, 18.0, 1.8e9),
        make("sh600276", "恒瑞医药", "hryy", K::Stock, 45.0, 1.5e9),
        make("sh601899", "紫金矿业", "zjky", K::Stock, 16.0, 2.2e9),
        make("sh600900", "长江电力", "cjdl", K::Stock, 29.0, 1.3e9),
        make("sz000651", "格力电器", "gldq", K::Stock, 42.0, 1.4e9),
        make("sh601166", "兴业银行", "xyyh", K::Stock, 19.0, 1.0e9),
        make("sh600030", "中信证券", "zxzq", K::Stock, 28.0, 3.5e9),
        make("sh688981", "中芯国际", "zxgj", K::Stock, 90.0, 5.0e9),
        make("sz002415", "海康威视", "hkws", K::Stock, 31.0, 1.1e9),
        make("sh600887", "伊利股份", "ylgf", K::Stock, 28.0, 0.9e9),
        make("sh601398", "工商银行", "gsyh", K::Stock, 6.3, 2.0e9),
        make("sh600309", "万华化学", "whhx", K::Stock, 75.0, 1.0e9),
        make("sz300059", "东方财富", "dfcf", K::Stock, 25.0, 6.5e9),
        make("sz000725", "京东方Ａ", "jdfa", K::Stock, 4.3, 2.4e9),
        make("sh601888", "中国中免", "zgzm", K::Stock, 65.0, 1.2e9),
        make("sh603259", "药明康德", "ymkd", K::Stock, 50.0, 2.0e9),
        make("sz002475", "立讯精密", "lxjm", K::Stock, 40.0, 2.6e9),
        make("sh600050", "中国联通", "zglt", K::Stock, 5.3, 1.1e9),
        make("sh510300", "沪深300ETF", "hs300etf", K::Etf, 4.0, 4.0e9),
        make("sh510050", "上证50ETF", "sz50etf", K::Etf, 2.7, 1.5e9),
        make("sz159915", "创业板ETF", "cybetf", K::Etf, 2.2, 1.8e9),
        make("sh510500", "中证500ETF", "zz500etf", K::Etf, 5.8, 1.2e9),
        make("sh588000", "科创50ETF", "kc50etf", K::Etf, 1.0, 2.5e9),
        make("sh512880", "证券ETF", "zqetf", K::Etf, 1.1, 1.6e9),
        make("sh512100", "中证1000ETF", "zz1000etf", K::Etf, 2.5, 0.8e9),
        make("sh513100", "纳指ETF", "nzetf", K::Etf, 1.6, 0.9e9),
        make("sh518880", "黄金ETF", "hjetf", K::Etf, 6.0, 1.4e9),
        make("sz159919", "沪深300ETF嘉实", "hs300etfjs", K::Etf, 4.1, 0.6e9),
        make("sh000001", "上证指数", "szzs", K::Index, 3300.0, 4.0e11),
        make("sz399001", "深证成指", "szcz", K::Index, 10500.0, 5.5e11),
        make("sh000300", "沪深300", "hs300", K::Index, 3900.0, 2.5e11),
        make("sz399006", "创业板指", "cybz", K::Index, 2200.0, 2.0e11),
    };
}

std::uint64_t fnv(std::string_view text) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// Codes the exchanges give to funds: Shanghai 5xxxxx, Shenzhen 15xxxx/16xxxx.
bool isFundCode(std::string_view code) {
    return code[0] == '5' || (code[0] == '1' && (code[1] == '5' || code[1] == '6'));
}

Security generic(const std::string& symbol) {
    Security s;
    s.symbol = symbol;
    s.code = symbol.substr(2);
    const std::uint64_t h = fnv(s.code);
    const double unit = static_cast<double>(h % 10007) / 10007.0;
    if (isFundCode(s.code)) {
        s.kind = SecurityKind::Etf;
        s.name = "模拟ETF" + s.code.substr(2);
        s.pinyin = "mnetf" + s.code.substr(2);
        s.basePrice = 0.8 + unit * 4.0;
        s.dailyTurnover = 2e8 + unit * 6e8;
    } else {
        s.name = "模拟" + s.code;
        s.pinyin = "mn" + s.code;
        s.basePrice = 3.0 + unit * 77.0;
        s.dailyTurnover = 3e8 + unit * 1.2e9;
    }
    return s;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

const std::vector<Security>& Universe::listed() {
    static const std::vector<Security> all = buildListed();
    return all;
}

bool Universe::isSixDigits(std::string_view text) {
    return text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool Universe::isShanghaiCode(std::string_view code) {
    return !code.empty() && (code[0] == '5' || code[0] == '6' || code[0] == '9');
}

bool Universe::bySymbol(std::string_view symbol, Security& out) {
    if (symbol.size() != 8) return false;
    const std::string key = lower(symbol);
    for (const Security& s : listed()) {
        if (s.symbol == key) {
            out = s;
            return true;
        }
    }
    const std::string_view prefix = std::string_view(key).substr(0, 2);
    const std::string_view code = std::string_view(key).substr(2);
    if (!isSixDigits(code)) return false;
    if (prefix == "sh" && !isShanghaiCode(code)) return false;
    if (prefix == "sz" && isShanghaiCode(code)) return false;
    if (prefix != "sh" && prefix != "sz") return false;
    out = generic(key);
    return true;
}

bool Universe::byCode(std::string_view code, Security& out) {
    if (!isSixDigits(code)) return false;
    return bySymbol((isShanghaiCode(code) ? "sh" : "sz") + std::string(code), out);
}

bool Universe::bySecid(std::string_view secid, Security& out) {
    if (secid.size() != 8 || secid[1] != '.') return false;
    if (secid[0] == '1') return bySymbol("sh" + std::string(secid.substr(2)), out);
    if (secid[0] == '0') return bySymbol("sz" + std::string(secid.substr(2)), out);
    return false;
}

std::vector<Security> Universe::search(std::string_view query, std::size_t limit) {
    std::vector<Security> hits;
    std::string q = lower(query);
    if (q.size() == 8 && (q.rfind("sh", 0) == 0 || q.rfind("sz", 0) == 0) && isSixDigits(q.substr(2))) q.erase(0, 2);
    if (q.empty() || limit == 0) return hits;
    const bool digits = std::all_of(q.begin(), q.end(), [](char c) { return c >= '0' && c <= '9'; });
    for (const Security& s : listed()) {
        const bool match = digits ? s.code.rfind(q, 0) == 0
                                  : (s.pinyin.rfind(q, 0) == 0 || s.name.find(std::string(query)) != std::string::npos);
        if (match) hits.push_back(s);
        if (hits.size() >= limit) return hits;
    }
    Security unlisted;
    if (hits.empty() && isSixDigits(q) && byCode(q, unlisted)) hits.push_back(unlisted);
    return hits;
}

} // namespace glimmer::sim

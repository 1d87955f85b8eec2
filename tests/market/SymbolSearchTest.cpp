#include "market/SymbolSearch.h"
#include "market/Endpoints.h"
#include "market/SecID.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::dataDir;
using testing::readFile;

std::string fixture(const std::string& name) {
    return readFile(dataDir() / "market" / name);
}

TEST(SecID, ShanghaiIsFirstCharacterFiveSixOrNineInEveryProviderForm) {
    std::string symbols;
    for (const char* code :
         {"600519", "688981", "510300", "900901", "588000", "000001", "159915", "830799", "", "hk0700"})
        symbols += SecID::tencentSymbol(code) + " ";
    EXPECT_EQ(symbols, "sh600519 sh688981 sh510300 sh900901 sh588000 sz000001 sz159915 sz830799 sz szhk0700 ");
    EXPECT_EQ(SecID::secid("600519") + " " + SecID::secid("000001"), "1.600519 0.000001");
}

TEST(SymbolSearch, KeepsProviderOrderSkipsRecordsWithFieldsMissingDecodesEscapesAndEncodesTheQuery) {
    EXPECT_EQ(SymbolSearch::parse(fixture("smartbox_gzmt.txt")),
              std::vector<SymbolHit>{(SymbolHit{"600519", "贵州茅台", InstrumentKind::stock})})
        << "an escaped name";
    const auto hits = SymbolSearch::parse(fixture("smartbox_hs300.txt"));
    ASSERT_EQ(hits.size(), 12u) << "the four-character code and the US ticker are dropped";
    EXPECT_EQ(hits[0], (SymbolHit{"510300", "沪深300ETF", InstrumentKind::etf}));
    EXPECT_EQ(hits[2], (SymbolHit{"000300", "沪深300", InstrumentKind::stock}));
    EXPECT_EQ(hits[6].kind, InstrumentKind::etf) << "LOF-ETF contains ETF";
    EXPECT_EQ(hits[7].code, "510330");
    EXPECT_EQ(hits[8], (SymbolHit{"160706", "嘉实沪深300ETF联接(LOF)", InstrumentKind::stock}));
    EXPECT_EQ(hits[10].kind, InstrumentKind::stock) << "GP-A-CYB is a stock";
    // One quote is no body. An empty name drops out, so the pinyin becomes the name and the type is
    // missing: skipped.
    for (const std::string text : {fixture("smartbox_none.txt"), std::string(), std::string("v_hint=\""),
                                   std::string("v_hint=\"sh~600519~~gzmt~GP-A\";")}) {
        EXPECT_TRUE(SymbolSearch::parse(text).empty()) << text;
    }
    EXPECT_EQ(SymbolSearch::parse("v_hint=\"^^sz~000001~\\u5e73\\u5b89\\u94f6\\u884c~payh~GP-A~~x^\";"),
              std::vector<SymbolHit>{(SymbolHit{"000001", "平安银行", InstrumentKind::stock})});
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\u8d35\\u5dde\\u8305\\u53f0"), "贵州茅台");
    EXPECT_EQ(SymbolSearch::decodeEscapes("A\\u00e9\\x41\\u12"), "Aé\\x41\\u12") << "bad escapes stay as typed";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\ud83d\\ude00"), "😀");
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\udbff\\udfff"), "\xF4\x8F\xBF\xBF") << "the last code point";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\ud83dx"), "\xEF\xBF\xBDx") << "a lone surrogate is no character";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\"), "\\");
    Endpoints endpoints;
    endpoints.tencentSuggest = "http://127.0.0.1:9";
    EXPECT_EQ(SymbolSearch::url(endpoints, "gzmt"), "http://127.0.0.1:9/s3/?q=gzmt&t=all");
    EXPECT_EQ(SymbolSearch::url(endpoints, "茅台"), "http://127.0.0.1:9/s3/?q=%E8%8C%85%E5%8F%B0&t=all");
    EXPECT_EQ(SymbolSearch::url(endpoints, "a&t=x#y z"), "http://127.0.0.1:9/s3/?q=a%26t%3Dx%23y%20z&t=all");
}

} // namespace
} // namespace glimmer

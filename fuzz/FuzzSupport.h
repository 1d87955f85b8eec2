#pragma once

#include "market/ReplyJson.h"
#include "model/Clock.h"
#include "model/MarketRecords.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace glimmer::fuzz {

/// What each target checks of one input; libFuzzer's entry point below hands the input over.
void check(std::string_view text);

/// A fixed instant, so a crash reproduces from its input alone.
inline const Instant stamp = Instant{} + std::chrono::hours(480000);

/// Ends the run as a finding: libFuzzer keeps the input that broke the rule.
[[noreturn]] inline void fail(const char* rule) {
    std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
    std::abort();
}

inline void expect(bool holds, const char* rule) {
    if (!holds) fail(rule);
}

inline void expectFinite(double value, const char* what) {
    if (!std::isfinite(value)) fail(what);
}

inline void checkQuote(const Quote& q) {
    for (double v : {q.price, q.prevClose, q.open, q.high, q.low, q.volume, q.amount}) {
        expectFinite(v, "quote numbers are finite");
    }
    expectFinite(q.change(), "quote change is finite");
    expectFinite(q.changePercent(), "quote change percent is finite");
}

inline void checkMinute(const MinuteBar& m) {
    for (double v : {m.price, m.avg, m.volume, m.amount}) expectFinite(v, "minute numbers are finite");
    expect(m.volume >= 0, "minute volume is never negative");
}

inline void checkFlow(const FlowPoint& p) {
    expectFinite(p.main, "flow main is finite");
    expectFinite(p.retail, "flow retail is finite");
}

inline void checkBar(const DailyBar& b) {
    for (double v : {b.open, b.close, b.high, b.low, b.volume}) expectFinite(v, "day bar numbers are finite");
}

/// The member names of the reply's "data" object (Tencent replies key their data by symbol), so
/// every seed reaches the per-symbol code whatever symbol it carries. Always includes one fixed name.
inline std::vector<std::string> dataSymbols(const ReplyJson& json) {
    std::vector<std::string> symbols{"sh600519"};
    const ReplyJson::Node* dataNode = json.root() ? json.find(json.root(), "data") : nullptr;
    if (!dataNode || !dataNode->isObject()) return symbols;
    for (const auto& child : json.children(*dataNode)) {
        if (symbols.size() >= 4) break;
        symbols.emplace_back(child.key);
    }
    return symbols;
}

/// A private folder for targets that read files, on tmpfs when there is one (a fuzz run writes the
/// same file hundreds of thousands of times). Removed at exit.
inline const std::filesystem::path& scratchDir() {
    static const std::filesystem::path dir = [] {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "glimmer-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchDir(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace glimmer::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    glimmer::fuzz::check({reinterpret_cast<const char*>(data), size});
    return 0;
}

#include "market/Endpoints.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace glimmer {

namespace {

// An origin is "scheme://host[:port]" with nothing after it; anything else would let a typo build
// request URLs that silently point somewhere else.
bool isOrigin(const std::string& value) {
    const auto scheme = value.find("://");
    if (scheme == std::string::npos) return false;
    const std::string name = value.substr(0, scheme);
    if (name != "http" && name != "https") return false;
    const std::string rest = value.substr(scheme + 3);
    if (rest.empty()) return false;
    for (const char c : rest) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '-' || c == ':' || c == '[' || c == ']';
        if (!ok) return false;
    }
    return true;
}

} // namespace

bool Endpoints::fromFile(const std::filesystem::path& file, Endpoints& out, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot be read";
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const nlohmann::json document = nlohmann::json::parse(buffer.str(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        error = "not a JSON object";
        return false;
    }
    Endpoints result = out;
    const std::pair<const char*, std::string Endpoints::*> fields[] = {
        {"eastmoney.history", &Endpoints::eastmoneyHistory}, {"eastmoney.main", &Endpoints::eastmoneyMain},
        {"eastmoney.delayed", &Endpoints::eastmoneyDelayed}, {"tencent.snapshot", &Endpoints::tencentSnapshot},
        {"tencent.chart", &Endpoints::tencentChart},         {"tencent.finance", &Endpoints::tencentFinance},
        {"tencent.suggest", &Endpoints::tencentSuggest},     {"sina.quotes", &Endpoints::sinaQuotes},
    };
    for (const auto& [key, member] : fields) {
        const auto found = document.find(key);
        if (found == document.end()) continue;
        if (!found->is_string()) {
            error = std::string("\"") + key + "\" is not a string";
            return false;
        }
        std::string origin = found->get<std::string>();
        while (!origin.empty() && origin.back() == '/') origin.pop_back();
        if (!isOrigin(origin)) {
            error = std::string("\"") + key + "\" is not an origin scheme://host[:port]";
            return false;
        }
        result.*member = origin;
    }
    out = result;
    return true;
}

std::string Endpoints::hostKey(const std::string& origin) {
    std::string rest = origin;
    const auto scheme = rest.find("://");
    if (scheme != std::string::npos) rest.erase(0, scheme + 3);
    const auto path = rest.find_first_of("/?#");
    if (path != std::string::npos) rest.erase(path);
    return rest;
}

} // namespace glimmer

#include "simmarket/SimFault.h"

#include <charconv>

namespace glimmer::sim {

namespace {

bool readInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc{} && end == text.data() + text.size();
}

} // namespace

bool SimFaults::isFamily(const std::string& name) {
    if (name == "*") return true;
    for (const char* f : families)
        if (name == f) return true;
    return false;
}

bool SimFaults::parseKind(const std::string& text, SimFault& out, std::string& error) {
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    const std::string arg = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    SimFault fault;
    if (kind == "status" || kind == "delay") {
        fault.kind = kind == "status" ? SimFault::Kind::Status : SimFault::Kind::Delay;
        const bool statusOk = kind == "status" && readInt(arg, fault.arg) && fault.arg >= 100 && fault.arg <= 599;
        const bool delayOk = kind == "delay" && readInt(arg, fault.arg) && fault.arg >= 0;
        if (!statusOk && !delayOk) {
            error = kind == "status" ? "status needs a code 100-599, e.g. status:503"
                                     : "delay needs milliseconds, e.g. delay:1500";
            return false;
        }
    } else if (!arg.empty()) {
        error = "\"" + kind + "\" takes no argument";
        return false;
    } else if (kind == "hang") {
        fault.kind = SimFault::Kind::Hang;
    } else if (kind == "empty") {
        fault.kind = SimFault::Kind::Empty;
    } else if (kind == "null") {
        fault.kind = SimFault::Kind::NullData;
    } else if (kind == "notjson") {
        fault.kind = SimFault::Kind::NotJson;
    } else if (kind == "gbk") {
        fault.kind = SimFault::Kind::Gbk;
    } else if (kind == "close") {
        fault.kind = SimFault::Kind::Close;
    } else {
        error = "unknown fault \"" + kind + "\" (status:N, delay:MS, hang, empty, null, notjson, gbk, close)";
        return false;
    }
    out = fault;
    return true;
}

bool SimFaults::parse(const std::string& text, SimFaultRule& out, std::string& error) {
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        error = "expected <family>[@host]=<kind>[:arg]";
        return false;
    }
    std::string target = text.substr(0, equals);
    SimFaultRule rule;
    const auto at = target.find('@');
    if (at != std::string::npos) {
        rule.host = target.substr(at + 1);
        target.erase(at);
    }
    rule.family = target.empty() ? "*" : target;
    if (!isFamily(rule.family)) {
        error = "unknown endpoint family \"" + rule.family + "\"";
        return false;
    }
    if (!parseKind(text.substr(equals + 1), rule.fault, error)) return false;
    out = rule;
    return true;
}

std::string SimFaults::describe(const SimFault& fault) {
    switch (fault.kind) {
    case SimFault::Kind::Status: return "status:" + std::to_string(fault.arg);
    case SimFault::Kind::Delay: return "delay:" + std::to_string(fault.arg);
    case SimFault::Kind::Hang: return "hang";
    case SimFault::Kind::Empty: return "empty";
    case SimFault::Kind::NullData: return "null";
    case SimFault::Kind::NotJson: return "notjson";
    case SimFault::Kind::Gbk: return "gbk";
    case SimFault::Kind::Close: return "close";
    }
    return "?";
}

} // namespace glimmer::sim

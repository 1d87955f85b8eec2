#pragma once

#include <string>

namespace glimmer::sim {

/// A misbehaviour the simulated market can show on a family of endpoints.
struct SimFault {
    enum class Kind {
        Status,  // reply with status `arg` (the normal body stays, so 204/304 carry one)
        Delay,   // wait `arg` milliseconds, then reply normally
        Hang,    // never reply until the fault is cleared or the market stops
        Empty,   // the "trends"/"klines"/rows array is empty
        NullData,// "data": null
        NotJson, // an HTML error page with status 200
        Gbk,     // the normal body encoded as GBK
        Close,   // the connection is closed without a reply (Eastmoney's throttling)
    };
    Kind kind = Kind::Status;
    int arg = 0;

    bool operator==(const SimFault&) const = default;
};

/// Where a fault applies: an endpoint family ("trends", "fflow", "snapshot", "minute", "fundflow",
/// "fqkline", "suggest", "sina" or "*") and optionally a host, either "address:port" of a listener
/// or the name of the endpoint it stands for ("eastmoney.main", ...). Empty host: every host.
struct SimFaultRule {
    std::string family = "*";
    std::string host;
    SimFault fault;
};

namespace SimFaults {

/// The endpoint families the market serves.
inline constexpr const char* families[] = {"trends", "fflow",   "snapshot", "minute",
                                           "fundflow", "fqkline", "suggest",  "sina"};
bool isFamily(const std::string& name);

/// Reads "<family>[@host]=<kind>[:arg]", kinds: status:<code>, delay:<ms>, hang, empty, null,
/// notjson, gbk, close. False with `error` set for anything else.
bool parse(const std::string& text, SimFaultRule& out, std::string& error);
/// Reads "<kind>[:arg]".
bool parseKind(const std::string& text, SimFault& out, std::string& error);
std::string describe(const SimFault& fault);

} // namespace SimFaults

} // namespace glimmer::sim

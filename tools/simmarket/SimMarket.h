#pragma once

#include "doubles/ManualClock.h"
#include "market/Endpoints.h"
#include "model/Clock.h"
#include "simmarket/MarketModel.h"
#include "simmarket/Replies.h"
#include "simmarket/SimFault.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace glimmer::sim {

/// One request the market answered (control requests under /_sim/ are not recorded).
struct SimRequest {
    std::uint64_t sequence = 0;
    std::string family; // "trends", "snapshot", ...
    std::string host;   // "address:port" of the listener that took it
    std::string target; // path and query as sent
    Instant time;       // simulated time
};

/// The simulated quote services of Eastmoney, Tencent and Sina on loopback. Listener 0 serves every
/// endpoint and stands for the Eastmoney history host and all Tencent and Sina hosts; listeners 1
/// and 2 stand for the Eastmoney main and delayed push hosts, so a client sees three distinct
/// Eastmoney origins. All listeners share one market, one fault table and one request log.
class SimMarket {
public:
    struct Options {
        std::string host = "127.0.0.1";
        /// Port of listener 0; 0 picks free ports. Further listeners take the next ports.
        int port = 0;
        /// When set, listener i binds address i on the same port (e.g. 127.0.0.1-3).
        std::vector<std::string> addresses;
        int listeners = 3;
        std::uint64_t seed = 1;
        /// Simulated China time to start from; unset means real time (or `clock`).
        std::optional<Instant> time;
        /// An outside clock (not owned); the control endpoint cannot move it.
        const Clock* clock = nullptr;
        /// Weekdays played as exchange holidays (`MarketModel::dayNumber`).
        std::set<int> holidays;
    };

    explicit SimMarket(Options options);
    SimMarket();
    ~SimMarket();
    SimMarket(const SimMarket&) = delete;
    SimMarket& operator=(const SimMarket&) = delete;

    /// Binds every listener and starts serving; false with `error` when a bind fails.
    bool start(std::string* error = nullptr);
    /// Releases hanging requests and stops every listener.
    void stop();
    bool isRunning() const { return running; }

    int port(std::size_t listener = 0) const;
    std::string hostKey(std::size_t listener = 0) const; // "address:port"
    std::string origin(std::size_t listener = 0) const;  // "http://address:port"
    std::size_t listenerCount() const { return listeners.size(); }
    /// Origins for the eight provider endpoints.
    Endpoints endpoints() const;
    /// Writes the endpoints as a JSON file for GLIMMERBOX_ENDPOINTS.
    bool writeEndpointsFile(const std::filesystem::path& path) const;
    std::string endpointsJson() const;

    // Faults: a later rule for the same family and host replaces the earlier one.
    void setFault(const SimFaultRule& rule);
    void setFault(const std::string& family, const std::string& host, SimFault fault);
    void clearFaults();
    std::vector<SimFaultRule> faults() const;

    // Prices.
    void pin(const std::string& code, double price, double prevClose = 0);
    void script(const std::string& code, std::vector<double> prices, double stepSeconds = 0);
    /// The code's quotes stay on the last trading day before today, as a suspended security's do.
    void suspend(const std::string& code);
    /// Clears pins, scripts and suspensions.
    void clearPins();

    // Clock.
    Instant now() const;
    /// Moves the simulated time (false when an outside clock drives the market).
    bool setTime(Instant instant);
    bool advance(double seconds);

    // Requests.
    std::size_t requestCount(const std::string& family = "", const std::string& host = "") const;
    std::vector<SimRequest> requests() const;
    void clearRequests();

    /// Clears faults, pins, scripts and the request log.
    void reset();

    /// "yyyy-MM-dd HH:mm[:ss]" as China time, and back.
    static bool parseChinaTime(const std::string& text, Instant& out);
    static std::string formatChinaTime(Instant instant);

    const MarketModel& model() const { return market; }
    /// What the market shows for a code now (the six-digit code or a Tencent symbol).
    std::optional<SimView> view(const std::string& codeOrSymbol) const;

private:
    struct Listener {
        std::unique_ptr<httplib::Server> server;
        std::string address;
        int port = 0;
        std::thread thread;
        std::vector<std::string> roles;
    };
    struct Reply {
        int status = 200;
        std::string body;
        std::string contentType = "application/json; charset=utf-8";
    };

    void route(std::size_t index);
    void serve(std::size_t index, const std::string& family, const httplib::Request& request,
               httplib::Response& response);
    Reply build(const std::string& family, const httplib::Request& request, ReplyShape shape);
    std::optional<SimFault> faultFor(const std::string& family, std::size_t index) const;
    bool waitFor(int milliseconds, std::uint64_t faultGeneration);
    void control(const httplib::Request& request, httplib::Response& response);

    Options options;
    MarketModel market;
    std::vector<Listener> listeners;
    std::atomic<bool> running{false};

    mutable std::mutex stateLock;
    std::condition_variable released;
    bool isStopping = false;
    std::uint64_t faultGeneration = 0;
    std::vector<SimFaultRule> rules;
    std::vector<SimRequest> log;
    std::uint64_t nextSequence = 1;
    ManualClock manualClock;
    std::atomic<bool> isManualTime{false};
};

} // namespace glimmer::sim

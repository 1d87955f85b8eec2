#pragma once

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace glimmer::testing {

/// One provider host on a free loopback port: canned replies, handlers, hanging paths, a request log.
class SeriesStubHost {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    struct Reply {
        int status = 404;
        std::string body;
        bool hangs = false;
    };
    struct Received {
        std::string path, target;
        std::map<std::string, std::string> query;
        std::string referer, userAgent;
        bool hadCookie = false;
    };

    SeriesStubHost() {
        server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            Reply reply;
            Handler handler;
            {
                std::lock_guard guard(lock);
                log.push_back({request.path,
                               request.target,
                               {request.params.begin(), request.params.end()},
                               request.get_header_value("Referer"),
                               request.get_header_value("User-Agent"),
                               request.has_header("Cookie")});
                for (const auto& [prefix, h] : handlers) {
                    if (request.path.rfind(prefix, 0) == 0) handler = h;
                }
                if (routes.count(request.path)) reply = routes[request.path];
            }
            if (handler) return handler(request, response);
            if (reply.hangs) return waitForRelease();
            response.status = reply.status;
            response.set_content(reply.body, "application/json; charset=utf-8");
        });
        // One request per connection, so stopping never waits out a client's keep-alive.
        server.set_keep_alive_max_count(1);
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        // The socket is bound and listening already; this only waits for the accept loop.
        for (int i = 0; i < 2000 && !server.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~SeriesStubHost() {
        {
            std::lock_guard guard(lock);
            isReleased = true;
        }
        released.notify_all();
        server.stop();
        if (thread.joinable()) thread.join();
    }

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }

    void serve(const std::string& path, std::string body, int status = 200, bool hangs = false) {
        std::lock_guard guard(lock);
        routes[path] = {status, std::move(body), hangs};
    }
    void hang(const std::string& path) { serve(path, "", 200, true); }
    void handle(const std::string& prefix, Handler handler) {
        std::lock_guard guard(lock);
        handlers.emplace_back(prefix, std::move(handler));
    }
    /// Blocks a handler until the host goes away (a server that never answers).
    void waitForRelease() {
        std::unique_lock guard(lock);
        released.wait_for(guard, std::chrono::seconds(20), [this] { return isReleased; });
    }

    std::vector<Received> requests() const {
        std::lock_guard guard(lock);
        return log;
    }
    int count(const std::string& path) const {
        std::lock_guard guard(lock);
        return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const auto& r) { return r.path == path; }));
    }

private:
    httplib::Server server;
    int port = 0;
    std::thread thread;
    mutable std::mutex lock;
    std::condition_variable released;
    bool isReleased = false;
    std::map<std::string, Reply> routes;
    std::vector<std::pair<std::string, Handler>> handlers;
    std::vector<Received> log;
};

} // namespace glimmer::testing

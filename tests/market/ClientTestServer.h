#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace glimmer::testing {

/// A cpp-httplib server on 127.0.0.1 with a free port, running on its own thread for one test.
class ClientTestServer {
public:
    httplib::Server server;

    ClientTestServer() = default;
    ~ClientTestServer() { stop(); }

    /// Binds and starts serving; false when no port could be bound.
    bool start() {
        port = server.bind_to_any_port("127.0.0.1");
        if (port <= 0) return false;
        thread = std::thread([this] { server.listen_after_bind(); });
        // The socket already listens; wait for the accept loop so that stop() cannot miss it.
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

    void stop() {
        releaseHangs();
        if (thread.joinable()) {
            server.stop();
            thread.join();
        }
    }

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }

    /// Blocks a handler until the test ends (a server that never answers).
    void hang() {
        std::unique_lock guard(hangLock);
        hangReleased.wait_for(guard, std::chrono::seconds(30), [this] { return isReleased; });
    }
    void releaseHangs() {
        {
            std::lock_guard guard(hangLock);
            isReleased = true;
        }
        hangReleased.notify_all();
    }

private:
    int port = 0;
    std::thread thread;
    std::mutex hangLock;
    std::condition_variable hangReleased;
    bool isReleased = false;
};

} // namespace glimmer::testing

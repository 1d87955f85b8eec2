// glimmer-simmarket: the simulated Eastmoney, Tencent and Sina quote services on loopback.
#include "simmarket/SimMarket.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

void usage() {
    std::cout << "usage: glimmer-simmarket [options]\n"
                 "  --host ADDR            address to listen on (default 127.0.0.1)\n"
                 "  --port N               port of the first listener; 0 picks free ports (default 0)\n"
                 "  --addresses A,B,C      one listener per address on the same port (e.g. 127.0.0.1,127.0.0.2,"
                 "127.0.0.3)\n"
                 "  --listeners N          1-3 listeners standing for the Eastmoney push hosts (default 3)\n"
                 "  --seed N               market seed (default 1)\n"
                 "  --time \"yyyy-MM-dd HH:mm\"  simulated China time (default: real time)\n"
                 "  --holiday yyyy-MM-dd|today  repeatable; a weekday played as an exchange holiday\n"
                 "  --fault FAMILY[@HOST]=KIND[:ARG]  repeatable; families trends fflow snapshot minute fundflow\n"
                 "                         fqkline suggest sina *; kinds status:N delay:MS hang empty null notjson\n"
                 "                         gbk close\n"
                 "  --endpoints-file PATH  write the endpoints file for GLIMMERBOX_ENDPOINTS\n";
}

} // namespace

int main(int argc, char** argv) {
    using glimmer::sim::SimMarket;
    SimMarket::Options options;
    std::vector<glimmer::sim::SimFaultRule> faults;
    std::string endpointsFile;
    std::vector<std::string> holidays;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "glimmer-simmarket: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        try {
            if (arg == "--help" || arg == "-h") {
                usage();
                return 0;
            } else if (arg == "--host") {
                options.host = value();
            } else if (arg == "--port") {
                options.port = std::stoi(value());
            } else if (arg == "--listeners") {
                options.listeners = std::stoi(value());
            } else if (arg == "--addresses") {
                std::string list = value();
                std::size_t start = 0;
                while (start <= list.size()) {
                    const auto comma = list.find(',', start);
                    const std::string item = list.substr(start, comma == std::string::npos ? comma : comma - start);
                    if (!item.empty()) options.addresses.push_back(item);
                    if (comma == std::string::npos) break;
                    start = comma + 1;
                }
                options.listeners = static_cast<int>(options.addresses.size());
            } else if (arg == "--seed") {
                options.seed = std::stoull(value());
            } else if (arg == "--time") {
                glimmer::Instant instant;
                const std::string text = value();
                if (!SimMarket::parseChinaTime(text, instant)) {
                    std::cerr << "glimmer-simmarket: --time wants \"yyyy-MM-dd HH:mm\", got \"" << text << "\"\n";
                    return 2;
                }
                options.time = instant;
            } else if (arg == "--holiday") {
                holidays.push_back(value());
            } else if (arg == "--fault") {
                glimmer::sim::SimFaultRule rule;
                std::string error;
                if (!glimmer::sim::SimFaults::parse(value(), rule, error)) {
                    std::cerr << "glimmer-simmarket: --fault: " << error << "\n";
                    return 2;
                }
                faults.push_back(rule);
            } else if (arg == "--endpoints-file") {
                endpointsFile = value();
            } else {
                std::cerr << "glimmer-simmarket: unknown option " << arg << "\n";
                usage();
                return 2;
            }
        } catch (const std::exception&) {
            std::cerr << "glimmer-simmarket: bad value for " << arg << "\n";
            return 2;
        }
    }
    // "today" is the day the market starts on: the --time day, or the real one.
    for (const std::string& text : holidays) {
        glimmer::Instant instant = options.time.value_or(glimmer::Clock::system().now());
        if (text != "today" && !SimMarket::parseChinaTime(text + " 00:00", instant)) {
            std::cerr << "glimmer-simmarket: --holiday wants \"yyyy-MM-dd\" or \"today\", got \"" << text << "\"\n";
            return 2;
        }
        const glimmer::CivilTime day = glimmer::Clock::chinaTime(instant);
        options.holidays.insert(glimmer::sim::MarketModel::dayNumber(day.year, day.month, day.day));
    }
    if (options.listeners < 1 || options.listeners > 3) {
        std::cerr << "glimmer-simmarket: 1 to 3 listeners\n";
        return 2;
    }

    // Signals are taken by sigwait below, so block them before any server thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    SimMarket market(options);
    for (const auto& rule : faults) market.setFault(rule);
    std::string error;
    if (!market.start(&error)) {
        std::cerr << "glimmer-simmarket: " << error << "\n";
        return 1;
    }
    if (!endpointsFile.empty() && !market.writeEndpointsFile(endpointsFile)) {
        std::cerr << "glimmer-simmarket: cannot write " << endpointsFile << "\n";
        return 1;
    }
    std::cout << "port " << market.port() << "\n";
    for (std::size_t i = 0; i < market.listenerCount(); ++i) std::cout << "listening on " << market.origin(i) << "\n";
    std::cout << "simulated time " << SimMarket::formatChinaTime(market.now()) << " (China)\n";
    for (const int day : options.holidays) std::cout << "holiday " << glimmer::sim::Replies::isoDate(day) << "\n";
    if (!endpointsFile.empty()) std::cout << "endpoints file " << endpointsFile << "\n";
    std::cout << "control " << market.origin() << "/_sim/status\n" << std::flush;

    int received = 0;
    sigwait(&signals, &received);
    market.stop();
    return 0;
}

#include "FaultPlan.h"

#include <iterator>

namespace glimmer::soak {

using sim::SimFault;

FaultPlan::FaultPlan(std::uint64_t seed, std::vector<std::string> hostNames, double timeout)
    : random(seed), hosts(std::move(hostNames)), clientTimeout(timeout) {}

std::vector<SimFault> FaultPlan::kinds() const {
    const int slow = static_cast<int>(clientTimeout * 1000);
    return {
        {SimFault::Kind::Status, 500},     {SimFault::Kind::Status, 502}, {SimFault::Kind::Status, 503},
        {SimFault::Kind::Status, 404},     {SimFault::Kind::Hang, 0},     {SimFault::Kind::Empty, 0},
        {SimFault::Kind::NullData, 0},     {SimFault::Kind::NotJson, 0},  {SimFault::Kind::Gbk, 0},
        {SimFault::Kind::Close, 0},        {SimFault::Kind::Delay, slow / 2},
        {SimFault::Kind::Delay, slow + 500},
    };
}

std::vector<sim::SimFaultRule> FaultPlan::next() {
    std::uniform_int_distribution<int> spell(0, 3);
    const int count = spell(random); // 0: healthy
    const auto all = kinds();
    std::uniform_int_distribution<std::size_t> kind(0, all.size() - 1);
    std::uniform_int_distribution<std::size_t> family(0, std::size(sim::SimFaults::families)); // last: "*"
    std::uniform_int_distribution<std::size_t> host(0, hosts.size()); // last: every host

    std::vector<sim::SimFaultRule> rules;
    for (int i = 0; i < count; ++i) {
        sim::SimFaultRule rule;
        const std::size_t f = family(random);
        rule.family = f < std::size(sim::SimFaults::families) ? sim::SimFaults::families[f] : "*";
        const std::size_t h = host(random);
        rule.host = h < hosts.size() ? hosts[h] : "";
        rule.fault = all[kind(random)];
        rules.push_back(std::move(rule));
    }
    return rules;
}

} // namespace glimmer::soak

#pragma once

#include "simmarket/SimFault.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace glimmer::soak {

/// Draws the next set of market faults: sometimes none (a healthy spell), otherwise one to three
/// rules of any misbehaviour on a random endpoint family, on every host or on one provider host.
class FaultPlan {
public:
    FaultPlan(std::uint64_t seed, std::vector<std::string> hosts, double clientTimeout);

    std::vector<sim::SimFaultRule> next();

    /// Every misbehaviour the plan draws from; delays outlast the client time-out half the time.
    std::vector<sim::SimFault> kinds() const;

private:
    std::mt19937_64 random;
    std::vector<std::string> hosts;
    double clientTimeout;
};

} // namespace glimmer::soak

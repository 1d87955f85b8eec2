#include "FaultPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace glimmer::soak {
namespace {

using sim::SimFault;

TEST(FaultPlanTest, DrawsEveryMisbehaviourOnKnownFamiliesAndHostsWithHealthySpells) {
    const std::vector<std::string> hosts = {"127.0.0.1:4000", "eastmoney.main"};
    FaultPlan plan(7, hosts, 2.0);
    std::set<std::string> kinds, families, seenHosts;
    int healthy = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto rules = plan.next();
        EXPECT_LE(rules.size(), 3u);
        if (rules.empty()) ++healthy;
        for (const auto& rule : rules) {
            kinds.insert(sim::SimFaults::describe(rule.fault));
            EXPECT_TRUE(rule.family == "*" || sim::SimFaults::isFamily(rule.family)) << rule.family;
            families.insert(rule.family);
            EXPECT_TRUE(rule.host.empty() || std::find(hosts.begin(), hosts.end(), rule.host) != hosts.end());
            seenHosts.insert(rule.host);
        }
    }
    EXPECT_EQ(kinds.size(), plan.kinds().size());
    EXPECT_EQ(families.size(), std::size(sim::SimFaults::families) + 1);
    EXPECT_EQ(seenHosts.size(), hosts.size() + 1);
    EXPECT_GT(healthy, 300);
}

TEST(FaultPlanTest, CoversHangsDroppedConnectionsBadBodiesAndDelaysBeyondTheTimeOut) {
    const auto kinds = FaultPlan(1, {}, 2.0).kinds();
    const auto has = [&](SimFault::Kind kind) {
        return std::any_of(kinds.begin(), kinds.end(), [&](const SimFault& f) { return f.kind == kind; });
    };
    for (auto kind : {SimFault::Kind::Status, SimFault::Kind::Hang, SimFault::Kind::Empty, SimFault::Kind::NullData,
                      SimFault::Kind::NotJson, SimFault::Kind::Gbk, SimFault::Kind::Close})
        EXPECT_TRUE(has(kind)) << static_cast<int>(kind);
    EXPECT_TRUE(std::any_of(kinds.begin(), kinds.end(), [](const SimFault& f) {
        return f.kind == SimFault::Kind::Delay && f.arg > 2000;
    }));
}

TEST(FaultPlanTest, TheSameSeedGivesTheSameFaults) {
    FaultPlan a(42, {"x"}, 2.0), b(42, {"x"}, 2.0);
    for (int i = 0; i < 50; ++i) {
        const auto ra = a.next(), rb = b.next();
        ASSERT_EQ(ra.size(), rb.size());
        for (std::size_t k = 0; k < ra.size(); ++k) {
            EXPECT_EQ(ra[k].family, rb[k].family);
            EXPECT_EQ(ra[k].host, rb[k].host);
            EXPECT_EQ(ra[k].fault, rb[k].fault);
        }
    }
}

} // namespace
} // namespace glimmer::soak

#include "market/SourceHealth.h"

#include "doubles/ManualClock.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

class SourceHealthTest : public ::testing::Test {
protected:
    SourceHealth health;
    ManualClock clock{Instant{} + std::chrono::hours(24 * 20000)};
};

TEST_F(SourceHealthTest, FailureDuringCoolDownExtendsItWithoutAnotherStart) {
    health.recordFailure("qq.fqkline", clock.now());
    health.recordFailure("qq.fqkline", clock.now());
    clock.advance(100);
    EXPECT_FALSE(health.recordFailure("qq.fqkline", clock.now())) << "only the first start is logged";
    clock.advance(100); // 200 s after the start, 100 s after the extending failure
    EXPECT_TRUE(health.shouldSkip("qq.fqkline", clock.now()));
    clock.advance(20);
    EXPECT_FALSE(health.shouldSkip("qq.fqkline", clock.now()));
}

TEST_F(SourceHealthTest, FailureAfterExpiryWithoutCheckStartsANewCoolDown) {
    // No shouldSkip in between: the stale count stays, but the old deadline has passed, so this is a
    // new start and must be logged.
    health.recordFailure("qq.fundflow", clock.now());
    health.recordFailure("qq.fundflow", clock.now());
    clock.advance(300);
    EXPECT_TRUE(health.recordFailure("qq.fundflow", clock.now()));
}

TEST_F(SourceHealthTest, SuccessResetsTheCountAndEndsACoolDownOfItsKeyOnly) {
    health.recordFailure("em.trends.a", clock.now());
    health.recordSuccess("em.trends.a");
    EXPECT_FALSE(health.recordFailure("em.trends.a", clock.now())) << "the count started again";
    EXPECT_FALSE(health.shouldSkip("em.trends.a", clock.now()));

    health.recordFailure("qq.quote", clock.now());
    health.recordFailure("qq.quote", clock.now());
    EXPECT_TRUE(health.shouldSkip("qq.quote", clock.now()));
    EXPECT_FALSE(health.shouldSkip("qq.quote.other", clock.now()));
    EXPECT_FALSE(health.recordFailure("qq.quote.other", clock.now()));
    health.recordSuccess("qq.quote");
    EXPECT_FALSE(health.shouldSkip("qq.quote", clock.now()));
}

TEST_F(SourceHealthTest, CoolingKeysAreSortedAndOmitExpiredDeadlines) {
    for (const char* key : {"qq.quote", "em.trends.b", "em.trends.a"}) {
        health.recordFailure(key, clock.now());
        health.recordFailure(key, clock.now());
    }
    clock.advance(60);
    health.recordFailure("qq.fqkline", clock.now());
    health.recordFailure("qq.fqkline", clock.now());
    EXPECT_EQ(health.coolingKeys(clock.now()),
              (std::vector<std::string>{"em.trends.a", "em.trends.b", "qq.fqkline", "qq.quote"}));
    clock.advance(60); // the first three have reached their deadline but were never checked
    EXPECT_EQ(health.coolingKeys(clock.now()), (std::vector<std::string>{"qq.fqkline"}));
}

} // namespace
} // namespace glimmer

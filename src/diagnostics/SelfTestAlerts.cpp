#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"
#include "model/AlertScenarios.h"

namespace glimmer::SelfTest {

void testAlerts() {
    CheckTally tally;
    for (const AlertScenario& scenario : alertScenarios()) tally.check(scenario.passes(), scenario.label);
    tally.printCounted("预警自测：");
}

} // namespace glimmer::SelfTest

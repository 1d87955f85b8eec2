#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"

namespace glimmer::SelfTest {

namespace {
void notYet(const char* mode) {
    SelfTestReport::line(std::string(mode) + "：此诊断模式暂不可用");
}
} // namespace

void testExpandLayout() { notYet("testExpandLayout"); }
void testExpandFollowWithWindows() { notYet("testExpandFollowWithWindows"); }
void testOverviewWithWindows() { notYet("testOverviewWithWindows"); }
void renderOverview() { notYet("renderOverview"); }
void renderExpand() { notYet("renderExpand"); }

} // namespace glimmer::SelfTest

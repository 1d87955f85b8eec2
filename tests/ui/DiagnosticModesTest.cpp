#include "app/DiagnosticModes.h"

#include <map>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

std::function<std::optional<std::string>(const char*)> environment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    };
}

TEST(DiagnosticModes, OnlyTheExactValueOneSwitchesAModeOn) {
    EXPECT_EQ(DiagnosticModes::firstSwitchOn(environment({{"GLIMMERBOX_ROTATE_TEST", "1"}})), "GLIMMERBOX_ROTATE_TEST");
    for (const char* value : {"true", "01", "1 ", "", "yes"}) {
        EXPECT_EQ(DiagnosticModes::firstSwitchOn(environment({{"GLIMMERBOX_ROTATE_TEST", value}})), std::nullopt)
            << "value \"" << value << "\"";
    }
    EXPECT_EQ(DiagnosticModes::firstSwitchOn(environment({})), std::nullopt);
}

TEST(DiagnosticModes, TheEarliestSwitchInTheTableWins) {
    EXPECT_EQ(DiagnosticModes::firstSwitchOn(environment({{"GLIMMERBOX_DOCK_TEST", "1"},
                                                          {"GLIMMERBOX_RENDER", "1"},
                                                          {"GLIMMERBOX_SELFTEST", "0"}})),
              "GLIMMERBOX_RENDER");
    ASSERT_EQ(DiagnosticModes::switches().size(), 12u);
    EXPECT_EQ(DiagnosticModes::switches().front(), "GLIMMERBOX_SELFTEST");
    EXPECT_EQ(DiagnosticModes::switches().back(), "GLIMMERBOX_DOCK_TEST");
}

} // namespace
} // namespace glimmer

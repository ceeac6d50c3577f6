// The widget tests need one QApplication for the whole process.
#include <QApplication>

#include "runtime/LeakChecker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

RA7_LEAK_CHECKER_HOOKS()

namespace {

// scripts/test gives ctest one X server per test it runs at a time (the
// resource "display", allotted as "id:NN,slots:1"): windows of tests run side
// by side on one server take the keyboard focus from each other, and a line
// edit that loses it commits what is being typed.
void useAllottedDisplay()
{
    const char* allotted = std::getenv("CTEST_RESOURCE_GROUP_0_DISPLAY");
    if (!allotted)
        return;
    std::string_view text(allotted);
    if (!text.starts_with("id:"))
        return;
    text.remove_prefix(3);
    const std::string display = ":" + std::string(text.substr(0, text.find(',')));
    ::setenv("DISPLAY", display.c_str(), 1);
}

} // namespace

int main(int argc, char** argv)
{
    useAllottedDisplay();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

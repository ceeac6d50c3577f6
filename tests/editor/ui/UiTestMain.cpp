// The widget tests need one QApplication for the whole process.
#include <QApplication>

#include "runtime/LeakChecker.h"

#include <gtest/gtest.h>

RA7_LEAK_CHECKER_HOOKS()

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

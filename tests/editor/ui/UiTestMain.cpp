// The widget tests need one QApplication for the whole process.
#include <QApplication>

#include <gtest/gtest.h>

// Leaks of the desktop libraries Qt loads (D-Bus, fontconfig), not of the
// editor; read by the leak checker of sanitizer builds.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

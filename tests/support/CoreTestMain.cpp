// Test main for logic without a display: a QCoreApplication exists for the
// whole run, so Qt's event loop and file helpers behave as in the program.
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <clocale>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // libmpv refuses to start under locales with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

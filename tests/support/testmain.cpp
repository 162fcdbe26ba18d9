// Test entry: a Qt application object for the whole run, and the C locale so that month names and
// decimal separators are the same on every machine.
#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QLocale::setDefault(QLocale::c());
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

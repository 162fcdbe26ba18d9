// Entry of widget tests: a QApplication (offscreen under CTest) and the C locale.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs the executable outside CTest's environment, so default to offscreen here too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

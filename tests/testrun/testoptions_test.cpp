// The load selection window and the settings it remembers.
#include "testrun/testoptionsform.h"
#include "tests/support/findchild.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class LoadSelection : public ::testing::Test {
protected:
    TempSettings settings;
    uint8_t selected[7] = {9, 9, 9, 9, 9, 9, 9};

    QList<bool> Checks(TTestOptions& form) {
        QList<bool> checks;
        for (int i = 0; i < 7; ++i)
            checks << (Child<QListWidget>(form, "cboxOptions")->item(i)->checkState() == Qt::Checked);
        return checks;
    }
};

} // namespace

TEST_F(LoadSelection, WithoutSettingsEveryLoadIsChecked) {
    TTestOptions form(nullptr, selected);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("CorvexZR Variable Load Test"));
    ASSERT_EQ(Child<QListWidget>(form, "cboxOptions")->count(), 7);
    EXPECT_EQ(Child<QListWidget>(form, "cboxOptions")->item(0)->text(), QStringLiteral("25 ohms"));
    EXPECT_EQ(Child<QListWidget>(form, "cboxOptions")->item(6)->text(), QStringLiteral("175 ohms"));
    EXPECT_EQ(Checks(form), QList<bool>(7, true));
}

TEST_F(LoadSelection, StoredValuesAreReadAndOkWritesOnesAndZeros) {
    TSettings& ini = settings.Ini();
    ini.WriteString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_25"), QStringLiteral("0"));
    ini.WriteString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_50"), QStringLiteral("5"));
    ini.WriteString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_75"), QStringLiteral("many"));
    ini.WriteString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_175"), QStringLiteral("0"));
    TTestOptions form(nullptr, selected);
    EXPECT_EQ(Checks(form), (QList<bool>{false, true, true, true, true, true, false}));

    Child<QListWidget>(form, "cboxOptions")->item(3)->setCheckState(Qt::Unchecked);
    Child<QPushButton>(form, "Button1")->click();
    EXPECT_EQ(form.result(), 1);
    const uint8_t expected[7] = {0, 1, 1, 0, 1, 1, 0};
    EXPECT_EQ(0, memcmp(selected, expected, 7));
    EXPECT_EQ(ini.ReadString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_50"), QString()),
              QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_75"), QString()),
              QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_100"), QString()),
              QStringLiteral("0"));
}

TEST_F(LoadSelection, NoLoadCheckedIsRefusedAndWritesNothing) {
    ScriptedMessages boxes;
    TTestOptions form(nullptr, selected);
    form.show();
    for (int i = 0; i < 7; ++i)
        Child<QListWidget>(form, "cboxOptions")->item(i)->setCheckState(Qt::Unchecked);
    Child<QPushButton>(form, "Button1")->click();
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("No Load Selected"));
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Tick at least one load to test."));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 0);
    EXPECT_EQ(selected[0], 9);
    EXPECT_FALSE(QFile::exists(SettingsFilePath));

    Child<QListWidget>(form, "cboxOptions")->item(4)->setCheckState(Qt::Checked);
    Child<QPushButton>(form, "Button1")->click();
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(selected), 7), QByteArray("\0\0\0\0\1\0\0", 7));
}

TEST_F(LoadSelection, CloseBoxCancelsAndWritesNothing) {
    TTestOptions form(nullptr, selected);
    Child<QListWidget>(form, "cboxOptions")->item(0)->setCheckState(Qt::Unchecked);
    form.show();
    form.close();
    EXPECT_EQ(form.result(), 2);
    EXPECT_EQ(selected[0], 9);
    EXPECT_FALSE(QFile::exists(SettingsFilePath));
}

// The device information editor: where its texts come from and where they go.
#include "testrun/editinfoform.h"
#include "tests/support/findchild.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DeviceEditor : public ::testing::Test {
protected:
    TempSettings settings;
    ScriptedMessages boxes;
    std::unique_ptr<TZRTestRec> rec = std::make_unique<TZRTestRec>();

    void Remember(const char* key, const char* value) {
        settings.Ini().WriteString(QStringLiteral("EditInfo"), QString::fromLatin1(key),
                                   QString::fromLatin1(value));
    }
    QString Remembered(const char* key) {
        return settings.Ini().ReadString(QStringLiteral("EditInfo"), QString::fromLatin1(key),
                                         QStringLiteral("<none>"));
    }
};

} // namespace

TEST_F(DeviceEditor, NewRecordTakesTheSiteDetailsFromSettings) {
    Remember("SERIAL", "S-1");
    Remember("MAKE", "Acme");
    Remember("TECH", "JD");
    TEditInfo editor(nullptr, false, rec.get());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit Device Information"));
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtDeviceID")->text().isEmpty());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtSerial")->text(), QStringLiteral("S-1"));
    EXPECT_EQ(Child<QLineEdit>(editor, "txtMake")->text(), QStringLiteral("Acme"));
    EXPECT_EQ(Child<QLineEdit>(editor, "txtTech")->text(), QStringLiteral("JD"));
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtModel")->text().isEmpty());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtDeviceID")->maxLength(), 31);
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QString()); // opening changes nothing
}

TEST_F(DeviceEditor, IdentifiedRecordShowsItsOwnTextsEvenWhenEmpty) {
    Remember("SERIAL", "remembered");
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("BME-7"));
    rec->SetDeviceInfo(diModel, QStringLiteral("M2"));
    TEditInfo editor(nullptr, false, rec.get());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtDeviceID")->text(), QStringLiteral("BME-7"));
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtSerial")->text().isEmpty());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtModel")->text(), QStringLiteral("M2"));
}

TEST_F(DeviceEditor, OkWritesRecordAndRemembersAllButTheDeviceId) {
    TEditInfo editor(nullptr, false, rec.get());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("BME-9"));
    Child<QLineEdit>(editor, "txtSerial")->setText(QStringLiteral("SN1"));
    Child<QLineEdit>(editor, "txtFacility")->setText(QStringLiteral("General"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("BME-9"));
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QStringLiteral("SN1"));
    EXPECT_EQ(rec->GetDeviceInfo(diFacility), QStringLiteral("General"));
    EXPECT_EQ(Remembered("SERIAL"), QStringLiteral("SN1"));
    EXPECT_EQ(Remembered("FACILITY"), QStringLiteral("General"));
    EXPECT_EQ(Remembered("MAKE"), QString()); // written, empty
    EXPECT_EQ(settings.Ini().ReadString(QStringLiteral("EditInfo"), QStringLiteral("DEVICEID"),
                                        QStringLiteral("<none>")),
              QStringLiteral("<none>"));

    TEditInfo again(nullptr, false, rec.get());
    EXPECT_EQ(Child<QLineEdit>(again, "txtSerial")->text(), QStringLiteral("SN1"));
}

TEST_F(DeviceEditor, EmptyDeviceIdIsAcceptedWhenNotRequired) {
    TEditInfo editor(nullptr, false, rec.get());
    Child<QLineEdit>(editor, "txtMake")->setText(QStringLiteral("Acme"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(QByteArray(rec->DeviceInfo[diDeviceID], 32), QByteArray(32, '\0'));
    EXPECT_EQ(Remembered("MAKE"), QStringLiteral("Acme"));
}

TEST_F(DeviceEditor, RequiredDeviceIdStopsOkAndCancelButNotTheCloseBox) {
    TEditInfo editor(nullptr, true, rec.get());
    editor.show();
    Child<QLineEdit>(editor, "txtSerial")->setText(QStringLiteral("typed"));
    Child<QPushButton>(editor, "btnOK")->click();
    Child<QPushButton>(editor, "btnCancel")->click();
    QTest::keyClick(&editor, Qt::Key_Escape);
    ASSERT_EQ(boxes.Shown().size(), 3);
    for (const MessageRequest& box : boxes.Shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Enter the Device ID."));
        EXPECT_EQ(box.caption, QStringLiteral("Device ID Not Entered"));
        EXPECT_EQ(box.icon, MsgIcon::Information);
    }
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QString());

    editor.close();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), 2);
    EXPECT_EQ(boxes.Shown().size(), 3);
}

TEST_F(DeviceEditor, SpacesCountAsADeviceId) {
    TEditInfo editor(nullptr, true, rec.get());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("  "));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("  "));
}

TEST_F(DeviceEditor, CancelWritesNothing) {
    Remember("MAKE", "Old");
    TEditInfo editor(nullptr, false, rec.get());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("X"));
    Child<QLineEdit>(editor, "txtMake")->setText(QStringLiteral("New"));
    Child<QPushButton>(editor, "btnCancel")->click();
    EXPECT_EQ(editor.result(), 2);
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QString());
    EXPECT_EQ(Remembered("MAKE"), QStringLiteral("Old"));
}

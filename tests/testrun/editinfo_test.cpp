// The device information editor: where its texts come from (the record, the test library, the last
// entry) and where they go.
#include "library/programlibrary.h"
#include "records/recordimage.h"
#include "testrun/editinfoform.h"
#include "tests/support/findchild.h"
#include "tests/support/libraryanswers.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DeviceEditor : public ::testing::Test {
protected:
    ~DeviceEditor() override { CloseProgramLibrary(); }

    // A test of `device` with this serial number, on day `day` of December 2026, into the program's library.
    void AddTest(const char* device, const char* serial, int day) {
        auto test = MakeFullRecord();
        SetStatus(*test, "ZR-1234", DateStamp{0, 0, 9, static_cast<uint8_t>(day), 12, 26});
        test->SetDeviceInfo(diDeviceID, QString::fromLatin1(device));
        test->SetDeviceInfo(diSerialNo, QString::fromLatin1(serial));
        test->SetDeviceInfo(diModel, QStringLiteral("Model of %1").arg(day));
        test->SetDeviceInfo(diTechID, QStringLiteral("PREV"));
        QString why;
        TTestLibrary* library = ProgramLibrary(why);
        ASSERT_TRUE(library) << why.toStdString();
        ASSERT_EQ(library->Add(EncodeTestRecord(*test)).outcome, TAddOutcome::Added);
    }
    static QString Text(const TEditInfo& editor, const char* name) {
        return Child<QLineEdit>(editor, name)->text();
    }

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

TEST_F(DeviceEditor, NewRecordTakesTheSiteDetailsFromSettingsButNoSerialNumber) {
    Remember("SERIAL", "S-1"); // as an earlier version remembered it
    Remember("MAKE", "Acme");
    Remember("TECH", "JD");
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit Device Information"));
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtDeviceID")->text().isEmpty());
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtSerial")->text().isEmpty());
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
    ASSERT_TRUE(LibraryAnswered());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtDeviceID")->text(), QStringLiteral("BME-7"));
    EXPECT_TRUE(Child<QLineEdit>(editor, "txtSerial")->text().isEmpty());
    EXPECT_EQ(Child<QLineEdit>(editor, "txtModel")->text(), QStringLiteral("M2"));
}

TEST_F(DeviceEditor, OkWritesRecordAndRemembersAllButTheDeviceIdAndSerialNumber) {
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("BME-9"));
    Child<QLineEdit>(editor, "txtSerial")->setText(QStringLiteral("SN1"));
    Child<QLineEdit>(editor, "txtFacility")->setText(QStringLiteral("General"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("BME-9"));
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QStringLiteral("SN1"));
    EXPECT_EQ(rec->GetDeviceInfo(diFacility), QStringLiteral("General"));
    EXPECT_EQ(Remembered("SERIAL"), QStringLiteral("<none>"));
    EXPECT_EQ(Remembered("FACILITY"), QStringLiteral("General"));
    EXPECT_EQ(Remembered("MAKE"), QString()); // written, empty
    EXPECT_EQ(settings.Ini().ReadString(QStringLiteral("EditInfo"), QStringLiteral("DEVICEID"),
                                        QStringLiteral("<none>")),
              QStringLiteral("<none>"));

    TEditInfo again(nullptr, false, rec.get());

    ASSERT_TRUE(LibraryAnswered());
    EXPECT_EQ(Child<QLineEdit>(again, "txtSerial")->text(), QStringLiteral("SN1"));
}

TEST_F(DeviceEditor, EmptyDeviceIdIsAcceptedWhenNotRequired) {
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    Child<QLineEdit>(editor, "txtMake")->setText(QStringLiteral("Acme"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(QByteArray(rec->DeviceInfo[diDeviceID], 32), QByteArray(32, '\0'));
    EXPECT_EQ(Remembered("MAKE"), QStringLiteral("Acme"));
}

TEST_F(DeviceEditor, RequiredDeviceIdStopsOkAndCancelButNotTheCloseBox) {
    TEditInfo editor(nullptr, true, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    editor.show();
    Child<QLineEdit>(editor, "txtSerial")->setText(QStringLiteral("typed"));
    for (const char* button : {"btnOK", "btnCancel"}) {
        Child<QLineEdit>(editor, "txtSerial")->setFocus();
        Child<QPushButton>(editor, button)->click();
        EXPECT_EQ(editor.focusWidget(), Child<QLineEdit>(editor, "txtDeviceID"))
            << button; // to be typed next
    }
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
    ASSERT_TRUE(LibraryAnswered());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("  "));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("  "));
}

TEST_F(DeviceEditor, CancelWritesNothing) {
    Remember("MAKE", "Old");
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("X"));
    Child<QLineEdit>(editor, "txtMake")->setText(QStringLiteral("New"));
    Child<QPushButton>(editor, "btnCancel")->click();
    EXPECT_EQ(editor.result(), 2);
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QString());
    EXPECT_EQ(Remembered("MAKE"), QStringLiteral("Old"));
}

TEST_F(DeviceEditor, KnownDeviceIdBringsItsNewestTestAndAnUnknownOneNoSerialNumber) {
    AddTest("DEF-0042", "SN-OLD", 1);
    AddTest("DEF-0042", "SN-NEW", 8);
    AddTest("XYZ-1", "SN-X", 2);
    Remember("MAKE", "Site make");
    Remember("MODEL", "Site model");
    Remember("TECH", "JD");
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    QCompleter* completer = Child<QLineEdit>(editor, "txtDeviceID")->completer();
    ASSERT_TRUE(completer);
    completer->setCompletionPrefix(QStringLiteral("def"));
    EXPECT_EQ(completer->completionCount(), 1);
    EXPECT_EQ(completer->currentCompletion(), QStringLiteral("DEF-0042"));

    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("DEF-0042"));
    EXPECT_EQ(Text(editor, "txtSerial"), QStringLiteral("SN-NEW"));
    EXPECT_EQ(Text(editor, "txtModel"), QStringLiteral("Model of 8"));
    EXPECT_EQ(Text(editor, "txtMake"), QStringLiteral("Acme Medical"));
    EXPECT_EQ(Text(editor, "txtTech"), QStringLiteral("JD")); // who tests now, not who tested last
    EXPECT_FALSE(Child<QLabel>(editor, "lblSerialWarning")->isVisibleTo(&editor));

    // Typed by hand, a text stays whatever the Device ID becomes; the others follow it.
    QTest::keyClick(Child<QLineEdit>(editor, "txtFacility"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Child<QLineEdit>(editor, "txtFacility"), QStringLiteral("Ward 3"));
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("DEF-0043"));
    EXPECT_TRUE(Text(editor, "txtSerial").isEmpty());
    EXPECT_EQ(Text(editor, "txtMake"), QStringLiteral("Site make"));
    EXPECT_EQ(Text(editor, "txtModel"), QStringLiteral("Site model"));
    EXPECT_EQ(Text(editor, "txtFacility"), QStringLiteral("Ward 3"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("DEF-0043"));
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QString());
    EXPECT_EQ(Remembered("FACILITY"), QStringLiteral("Ward 3"));
}

TEST_F(DeviceEditor, SerialNumberOtherThanTheLibrarysIsPointedOutWithoutStoppingOk) {
    AddTest("DEF-0042", "SN-1", 8);
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0042"));
    rec->SetDeviceInfo(diSerialNo, QStringLiteral("SN-2"));
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    const QLabel* warning = Child<QLabel>(editor, "lblSerialWarning");
    EXPECT_TRUE(warning->isVisibleTo(&editor));
    EXPECT_EQ(warning->text(), QStringLiteral("The library holds serial number SN-1 for DEF-0042."));
    Child<QLineEdit>(editor, "txtSerial")->setText(QStringLiteral("SN-1"));
    EXPECT_FALSE(warning->isVisibleTo(&editor));
    Child<QLineEdit>(editor, "txtSerial")->clear();
    EXPECT_TRUE(warning->isVisibleTo(&editor));
    QTest::keyClicks(Child<QLineEdit>(editor, "txtSerial"), QStringLiteral("SN-3"));
    EXPECT_TRUE(warning->isVisibleTo(&editor));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), QStringLiteral("SN-3"));
}

TEST_F(DeviceEditor, LibraryThatCannotBeOpenedLeavesTheEditorAsForAnUnknownDevice) {
    AddTest("DEF-0042", "SN-1", 8);
    CloseProgramLibrary();
    const QString notALibrary = settings.Folder() + QStringLiteral("/not-a-library.sqlite");
    WriteBytes(notALibrary, QByteArray("these bytes are no database"));
    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"), notALibrary);
    Remember("MAKE", "Site make");
    TEditInfo editor(nullptr, false, rec.get());
    ASSERT_TRUE(LibraryAnswered());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("DEF-0042"));
    EXPECT_TRUE(Text(editor, "txtSerial").isEmpty());
    EXPECT_EQ(Text(editor, "txtMake"), QStringLiteral("Site make"));
    Child<QPushButton>(editor, "btnOK")->click();
    EXPECT_EQ(editor.result(), 1);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(ReadBytes(notALibrary), QByteArray("these bytes are no database"));
}

TEST_F(DeviceEditor, ADeviceIdTypedBeforeTheLibraryAnswersIsFilledInWhenItDoes) {
    AddTest("DEF-0042", "SN-NEW", 8);
    TEditInfo editor(nullptr, false, rec.get());
    Child<QLineEdit>(editor, "txtDeviceID")->setText(QStringLiteral("DEF-0042"));
    EXPECT_TRUE(Text(editor, "txtSerial").isEmpty()); // the editor did not wait for the library
    ASSERT_TRUE(LibraryAnswered());
    EXPECT_EQ(Text(editor, "txtSerial"), QStringLiteral("SN-NEW"));
    EXPECT_EQ(Text(editor, "txtModel"), QStringLiteral("Model of 8"));
}

// The chart axis dialog: the limits it shows, the numbers it accepts and the boxes it shows for
// the ones it refuses.
#include "waveform/setaxis.h"

#include "tests/support/scriptedmessages.h"

#include "tests/support/qtprinters.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SetAxis : public ::testing::Test {
protected:
    SetAxis() { dialog.show(); }

    QLineEdit* Box(const char* name) { return dialog.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QPushButton* Button(const char* name) {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Type(const QString& xMin, const QString& xMax, const QString& yMin, const QString& yMax) {
        Box("txtXMin")->setText(xMin);
        Box("txtXMax")->setText(xMax);
        Box("txtYMin")->setText(yMin);
        Box("txtYMax")->setText(yMax);
    }
    // OK was refused with the box titled `title`, the limits untouched and the dialog still open.
    void ExpectRefused(const char* title) {
        Button("btnOK")->click();
        ASSERT_EQ(messages.Shown().size(), 1);
        const MessageRequest& box = messages.Shown().first();
        EXPECT_EQ(box.text, "Invalid Axis");
        EXPECT_EQ(box.caption, QString::fromLatin1(title));
        EXPECT_EQ(box.icon, MsgIcon::Error);
        EXPECT_EQ(box.buttons, MsgButtons::OK);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(limits.timeMin, 0.0);
        EXPECT_EQ(limits.currentMax, 50.0);
        messages.Clear();
    }

    ScriptedMessages messages;
    AxisLimits limits{0.0, 5119 * static_cast<double>(0.0114f), -50.0, 50.0};
    TSetAxis dialog{nullptr, limits};
};

const char* const InvalidNumber = "An invalid number was entered.";
const char* const MaxNotLarger = "Maximum axis must be larger than minimum axis.";

} // namespace

TEST_F(SetAxis, ShowsTheLimitsInItsBoxes) {
    EXPECT_EQ(dialog.windowTitle(), "Set Chart Axis");
    EXPECT_EQ(dialog.size(), QSize(276, 212));
    EXPECT_EQ(Box("txtXMin")->text(), "0");
    EXPECT_EQ(Box("txtXMax")->text(), "58.3566009839997");
    EXPECT_EQ(Box("txtYMin")->text(), "-50");
    EXPECT_EQ(Box("txtYMax")->text(), "50");
    EXPECT_EQ(Box("txtYMax")->maxLength(), 15);
    Box("txtYMax")->clear();
    QTest::keyClicks(Box("txtYMax"), "12345678901234567890");
    EXPECT_EQ(Box("txtYMax")->text(), "123456789012345");
}

TEST_F(SetAxis, OkWithValidNumbersReplacesAllFour) {
    Type("1e1", " 12.5 ", "-7", "+7.25");
    Button("btnOK")->click();
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(limits.timeMin, 10.0);
    EXPECT_EQ(limits.timeMax, 12.5);
    EXPECT_EQ(limits.currentMin, -7.0);
    EXPECT_EQ(limits.currentMax, 7.25);
}

TEST_F(SetAxis, TextsThatAreNoNumbersAreRefused) {
    for (const char* bad : {"abc", "", "-", "1e", "."}) {
        Type("0", "10", "-5", QString::fromLatin1(bad));
        ExpectRefused(InvalidNumber);
        Type(QString::fromLatin1(bad), "10", "-5", "5");
        ExpectRefused(InvalidNumber);
    }
    // Also when the other boxes are out of order.
    Type("10", "0", "abc", "-5");
    ExpectRefused(InvalidNumber);
}

TEST_F(SetAxis, MaximumMustBeLargerThanMinimum) {
    Type("10", "10", "-5", "5");
    ExpectRefused(MaxNotLarger);
    Type("0", "10", "5", "-5");
    ExpectRefused(MaxNotLarger);
    // Corrected, the same dialog accepts.
    Type("0", "10", "-5", "5");
    Button("btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(limits.timeMax, 10.0);
}

TEST_F(SetAxis, CancelLeavesTheLimits) {
    Type("1", "2", "3", "4");
    Button("btnCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(limits.timeMin, 0.0);
    EXPECT_EQ(limits.currentMin, -50.0);
}

TEST_F(SetAxis, EnterAndEscapePressNoButton) {
    Type("1", "2", "3", "4");
    QTest::keyClick(Box("txtXMin"), Qt::Key_Return);
    QTest::keyClick(Box("txtXMin"), Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(limits.timeMin, 0.0);
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(SetAxis, ClosingTheWindowCancels) {
    Type("1", "2", "3", "4");
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(limits.timeMax, 5119 * static_cast<double>(0.0114f));
}

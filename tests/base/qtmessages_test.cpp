// The Qt message boxes: Enter presses the button a request names as its default, so that a question
// whose Yes discards work can be answered No by a stray Enter; a long title is not cut short.
#include "base/qtmessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Shows the question and presses Enter in its window as soon as it is up.
int AnswerWithEnter(int defaultButton) {
    QtMessageBoxes boxes;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    });
    return boxes.Show(MessageRequest{QStringLiteral("Discard?"), QStringLiteral("Question"), MsgIcon::Warning,
                                     MsgButtons::YesNo, mfNone, defaultButton});
}

} // namespace

TEST(QtMessageBoxes, EnterPressesTheNamedDefaultButton) {
    EXPECT_EQ(AnswerWithEnter(mrNo), mrNo);
    EXPECT_EQ(AnswerWithEnter(mrNone), mrYes); // other boxes keep their first button as the default
}

TEST(QtMessageBoxes, ABoxIsWideEnoughForItsTitle) {
    // The axis dialog's box: a short text under a long title.
    const QString title = QStringLiteral("Maximum axis must be larger than minimum axis.");
    QtMessageBoxes boxes;
    int width = 0;
    int titleWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QFont bold = box->font();
        bold.setBold(true);
        titleWidth = QFontMetrics(bold).horizontalAdvance(title);
        width = box->width();
        box->accept();
    });
    boxes.Show(MessageRequest{QStringLiteral("Invalid Axis"), title, MsgIcon::Error, MsgButtons::OK, mfNone,
                              mrNone});
    EXPECT_GT(width, titleWidth + 60);
}

#include "base/qtmessages.h"

#include "base/benchhardware.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::OK:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ButtonOf(int result) {
    switch (result) {
    case mrOK:
        return QMessageBox::Ok;
    case mrCancel:
        return QMessageBox::Cancel;
    case mrYes:
        return QMessageBox::Yes;
    case mrNo:
        return QMessageBox::No;
    case mrRetry:
        return QMessageBox::Retry;
    default:
        return QMessageBox::NoButton;
    }
}

int ResultOf(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return mrOK;
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Retry:
        return mrRetry;
    default:
        // Closed without a button: the box's "no" answer.
        return buttons == MsgButtons::YesNo ? mrNo : buttons == MsgButtons::OK ? mrOK : mrCancel;
    }
}

// The window a box belongs to: the modal window on top (the step window while a test runs, even when
// the technician has just clicked in the Simulator or a live viewer), else the active window. Never a
// window that stands for the bench hardware: a box owned by it would block it.
QWidget* OwnerOfBox() {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    return IsBenchHardware(owner) ? nullptr : owner;
}

// Room beside the title for the frame's icon and its buttons.
constexpr int TitleFrameRoom = 120;

// The window manager draws the title in a font of its own, often bold and wider than the box's text:
// a box with a long title and a short text would cut its title short. The box is made at least as
// wide as its title in a bold font, with room for the frame's buttons.
void MakeRoomForTitle(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + TitleFrameRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

} // namespace

int QtMessageBoxes::Show(const MessageRequest& request) {
    // A box of no window (the transport's) still waits only for the windows of a running test, never
    // for the bench hardware; with no modal window open it waits for the whole program.
    QWidget* owner = (request.flags & mfNoOwner) ? QApplication::activeModalWidget() : OwnerOfBox();
    QMessageBox box(IconOf(request.icon), request.caption, request.text, ButtonsOf(request.buttons), owner);
    if (request.defaultButton != mrNone)
        box.setDefaultButton(ButtonOf(request.defaultButton));
    if (request.flags & mfTopMost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    MakeRoomForTitle(box);
    box.setWindowModality((request.flags & mfTaskModal) || !owner ? Qt::ApplicationModal : Qt::WindowModal);
    return ResultOf(box.exec(), request.buttons);
}

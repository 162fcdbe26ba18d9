#pragma once
// The message-box seam. Every box the program shows goes through Messages(): the program installs
// a QMessageBox implementation, tests install a scripted one that answers and records each box.

#include "base/seam.h"

#include <QString>

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };

// Button results, numbered as modal results: 1 OK, 2 Cancel, ...
enum MsgResult {
    mrNone = 0,
    mrOK = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

enum MsgFlag {
    mfNone = 0,
    mfNoOwner = 1,   // belongs to no window
    mfTopMost = 2,   // stays above every window
    mfTaskModal = 4, // every window of the program waits for it
};

struct MessageRequest {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    int flags = mfNone;
    // The button that Enter presses, as its result (mrNo, ...); mrNone: the first button.
    int defaultButton = mrNone;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns the button pressed (mrCancel or mrNo when the box is closed otherwise).
    virtual int Show(const MessageRequest& request) = 0;
};

// Until an implementation is installed (ScopedInstall<MessageBoxes>), boxes are written to standard
// error and answered with their first button.
template <> Seam<MessageBoxes>& TheSeam<MessageBoxes>();
// The installed implementation.
MessageBoxes& Messages();

// The answer of a box whose first button is pressed: OK, Yes or Retry.
int FirstButton(MsgButtons buttons);

int ShowMessage(const QString& text, const QString& caption, MsgIcon icon,
                MsgButtons buttons = MsgButtons::OK, int flags = mfNone, int defaultButton = mrNone);

#pragma once
// The program's message boxes: QMessageBox behind the message-box seam.

#include "base/messages.h"

class QtMessageBoxes : public MessageBoxes {
public:
    int Show(const MessageRequest& request) override;
};

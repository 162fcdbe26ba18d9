#pragma once
// Message boxes for the fuzz targets: counts the boxes, checks that each says something, and answers
// a question with the answer set for it (other boxes with their first button).

#include "base/messages.h"
#include "tests/fuzz/fuzzcheck.h"

class FuzzMessages : public MessageBoxes {
public:
    FuzzMessages() = default;
    FuzzMessages(const FuzzMessages&) = delete;
    FuzzMessages& operator=(const FuzzMessages&) = delete;

    int Show(const MessageRequest& request) override {
        ++shown;
        FuzzCheck(!request.text.isEmpty() && !request.caption.isEmpty(), "a box with a text and a caption");
        return request.buttons == MsgButtons::YesNo ? questionAnswer : FirstButton(request.buttons);
    }

    int questionAnswer = mrYes;
    int shown = 0;

private:
    const ScopedInstall<MessageBoxes> m_installed{*this}; // installed for the lifetime of this object
};

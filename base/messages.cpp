#include "base/messages.h"

#include "base/seamdefault.h"

#include <cstdio>

namespace {

class StandardErrorMessages : public MessageBoxes {
public:
    int Show(const MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.caption), qPrintable(request.text));
        return FirstButton(request.buttons);
    }
};

} // namespace

template <> Seam<MessageBoxes>& TheSeam<MessageBoxes>() {
    return SeamWithDefault<MessageBoxes, StandardErrorMessages>();
}

int FirstButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return mrYes;
    case MsgButtons::RetryCancel:
        return mrRetry;
    case MsgButtons::OK:
    case MsgButtons::OKCancel:
        break;
    }
    return mrOK;
}

MessageBoxes& Messages() {
    return *TheSeam<MessageBoxes>().Get();
}

int ShowMessage(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons, int flags,
                int defaultButton) {
    return Messages().Show(MessageRequest{text, caption, icon, buttons, flags, defaultButton});
}

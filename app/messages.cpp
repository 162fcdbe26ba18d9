#include "app/messages.h"

#include <cstdio>

namespace {

class StandardErrorMessages : public MessageBoxes {
public:
    int Show(const MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.caption), qPrintable(request.text));
        switch (request.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return mrYes;
        case MsgButtons::RetryCancel:
            return mrRetry;
        default:
            return mrOK;
        }
    }
};

StandardErrorMessages g_standardError;
MessageBoxes* g_installed = nullptr;

} // namespace

MessageBoxes& Messages() {
    return g_installed ? *g_installed : g_standardError;
}

void InstallMessages(MessageBoxes* boxes) {
    g_installed = boxes;
}

int ShowMessage(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons, int flags) {
    return Messages().Show(MessageRequest{text, caption, icon, buttons, flags});
}

#include "tests/support/scriptedmessages.h"

int ScriptedMessages::Show(const MessageRequest& request) {
    m_shown.append(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
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

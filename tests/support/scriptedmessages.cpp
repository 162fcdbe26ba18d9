#include "tests/support/scriptedmessages.h"

int ScriptedMessages::Show(const MessageRequest& request) {
    m_shown.append(request);
    if (whileShown)
        whileShown(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return FirstButton(request.buttons);
}

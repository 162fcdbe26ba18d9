#include "tests/support/scriptedmessages.h"

int ScriptedMessages::Show(const MessageRequest& request) {
    m_shown.append(request);
    if (whileShown)
        whileShown(request);
    const int answer = m_answers.isEmpty() ? FirstButton(request.buttons) : m_answers.takeFirst();
    if (answer != PressEnter)
        return answer;
    return request.defaultButton != mrNone ? request.defaultButton : FirstButton(request.buttons);
}

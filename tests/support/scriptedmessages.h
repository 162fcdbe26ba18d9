#pragma once
// A message-box implementation for tests: records every box and answers from a script.

#include "base/messages.h"

#include <QList>
#include <functional>

class ScriptedMessages : public MessageBoxes {
public:
    // An answer that presses Enter: the box's default button (its first one unless the box names one).
    static constexpr int PressEnter = -1;

    // Answers for the next boxes, in order; once used up, each box gets its first button.
    void Answer(std::initializer_list<int> answers) { m_answers.append(QList<int>(answers)); }

    int Show(const MessageRequest& request) override;

    const QList<MessageRequest>& Shown() const { return m_shown; }
    void Clear() { m_shown.clear(); }

    // Called with each box before it is answered, e.g. to let time pass while a person reads it.
    std::function<void(const MessageRequest&)> whileShown;

private:
    QList<int> m_answers;
    QList<MessageRequest> m_shown;
    const ScopedInstall<MessageBoxes> m_installed{*this}; // installed for the lifetime of this object
};

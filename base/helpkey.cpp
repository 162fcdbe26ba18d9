#include "base/helpkey.h"

#include "base/helptopic.h"

#include <QAction>
#include <QWidget>

void AddHelpKey(QWidget& window, const QString& topic) {
    auto* action = new QAction(&window);
    action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, [topic] { ShowHelpTopic(topic); });
    window.addAction(action);
}

#pragma once
// F1 in a window without a Help menu: shows that window's help topic.

#include <QString>

class QWidget;

void AddHelpKey(QWidget& window, const QString& topic);

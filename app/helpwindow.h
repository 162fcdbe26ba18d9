#pragma once
// The program's help: pages built into the program, shown in a window of their own with links,
// Back, Forward and Contents. The window belongs to no other window, so it stays open when the
// window that asked for help closes; the main window closes it when the program ends.

#include "base/helptopic.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;
class QAction;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    THelpWindow();
    void ShowTopic(const QString& topic);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

// The help seam's implementation: one help window, created on the first request.
class HelpWindows : public HelpViewer {
public:
    ~HelpWindows() override;
    void ShowTopic(const QString& topic) override;
    void CloseAll() override;
    THelpWindow* Window() const { return m_window; }

private:
    QPointer<THelpWindow> m_window;
};

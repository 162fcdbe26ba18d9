#pragma once
// The main window: the entry actions (a new variable load test, opening a saved test, the test
// library), the list of report viewers it owns until the program ends, and the one Test Library
// window.

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QPushButton;
class QAction;
class TTestLibraryWindow;
class TTestReportViewer;

class TZRQForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TZRQForm(QWidget* owner = nullptr);
    ~TZRQForm() override;

    void btnNewClick();
    void btnOpenClick();
    // Opens the Test Library window, or brings the open one to the front.
    void btnLibraryClick();
    void mmHelpContentsClick();
    void mmAboutCorvexZRClick();

    const QList<TTestReportViewer*>& ViewerList() const { return m_viewerList; }
    TTestLibraryWindow* LibraryWindow() const;

signals:
    // The main window has closed: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QPushButton* btnNew = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnLibrary = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmNew = nullptr;
    QAction* mmLibrary = nullptr;
    QAction* mmHelpContents = nullptr;
    QAction* mmAboutCorvexZR = nullptr;

    // Removes a viewer that has closed from the list; it frees itself.
    void ChildFormClose(TTestReportViewer* viewer);
    void AddViewer(TTestReportViewer* viewer);

    QList<TTestReportViewer*> m_viewerList;
    QPointer<TTestLibraryWindow> m_library;
};

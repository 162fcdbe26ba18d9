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
    // The program's last window has closed (the main window, after every report viewer): the
    // program ends.
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
    // Asks every viewer's close question, the newest first, before any window closes: false as soon
    // as one must stay open (Cancel, or Yes and no save), and then every window stays as it was.
    bool ViewersAgreeToClose();
    void EndWhenNoWindowIsLeft();

    QList<TTestReportViewer*> m_viewerList;
    bool m_closed = false;
    QPointer<TTestLibraryWindow> m_library;
};

#pragma once
// The main window: the two entry actions (a new variable load test, opening a saved test) and the
// list of report viewers it owns until the program ends.

#include <QList>
#include <QMainWindow>

class QPushButton;
class QAction;
class TTestReportViewer;

class TZRQForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TZRQForm(QWidget* owner = nullptr);
    ~TZRQForm() override;

    void btnNewClick();
    void btnOpenClick();
    void mmHelpContentsClick();
    void mmAboutCorvexZRClick();

    const QList<TTestReportViewer*>& ViewerList() const { return m_viewerList; }

signals:
    // The main window has closed: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QPushButton* btnNew = nullptr;
    QPushButton* btnOpen = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmNew = nullptr;
    QAction* mmHelpContents = nullptr;
    QAction* mmAboutCorvexZR = nullptr;

    // Removes a viewer that has closed from the list; it frees itself.
    void ChildFormClose(TTestReportViewer* viewer);
    void AddViewer(TTestReportViewer* viewer);

    QList<TTestReportViewer*> m_viewerList;
};

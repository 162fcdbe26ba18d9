#pragma once
// The About window: the program's version and copyright, the maker's address and web site, and a
// second page of acknowledgments.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TZRQAbout : public QDialog {
    Q_OBJECT
public:
    explicit TZRQAbout(QWidget* owner);

    void btnOKClick();
    void btnMoreClick();
    void lblWebsiteClick();
    void lblIconCreditClick();

private:
    // Widgets, named after their members for tests and tools (findChild).
    QWidget* panelAbout = nullptr;
    QWidget* panelMore = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QPlainTextEdit* txtDetails = nullptr;
    QLabel* lblWebsite = nullptr;
    QLabel* lblIconCredit = nullptr;
    QPushButton* btnMore = nullptr;
    QPushButton* btnOK = nullptr;
};

#include "app/zrqmainform.h"

#include "app/zrqaboutform.h"
#include "base/appicons.h"
#include "base/dialogs.h"
#include "base/errorbox.h"
#include "base/global.h"
#include "base/helptopic.h"
#include "base/uifonts.h"
#include "libraryview/outboxsender.h"
#include "libraryview/testlibrarywindow.h"
#include "report/testreportviewer.h"
#include "testrun/newtestchain.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

namespace {

constexpr int ClientWidth = 287;
constexpr int ClientHeight = 259;
constexpr int StatusBarHeight = 17;

QPushButton* EntryButton(QWidget* parent, const QString& caption, const char* glyph, int y) {
    auto* button = new QPushButton(AppPicture(glyph), caption, parent);
    button->setGeometry(64, y, 169, 45);
    button->setIconSize(QSize(24, 24));
    return button;
}

} // namespace

TZRQForm::TZRQForm(QWidget* owner) : QMainWindow(owner) {
    setWindowTitle(ApplicationTitle);
    setWindowIcon(AppPicture("icons/corvexzr.svg"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());

    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(client);
    btnNew = EntryButton(client, QStringLiteral("New Variable Load Test"), "icons/new-test.svg", 34);
    btnNew->setObjectName(QStringLiteral("btnNew"));
    btnNew->setDefault(true);
    btnNew->setAutoDefault(true);
    btnOpen = EntryButton(client, QStringLiteral("Open Test Report"), "icons/open-report.svg", 99);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnLibrary = EntryButton(client, QStringLiteral("Test Library"), "icons/library.svg", 164);
    btnLibrary->setObjectName(QStringLiteral("btnLibrary"));
    // Enter presses the button that has the focus, as it does in a dialog.
    btnOpen->setAutoDefault(true);
    btnLibrary->setAutoDefault(true);
    connect(btnNew, &QPushButton::clicked, this, &TZRQForm::btnNewClick);
    connect(btnOpen, &QPushButton::clicked, this, &TZRQForm::btnOpenClick);
    connect(btnLibrary, &QPushButton::clicked, this, &TZRQForm::btnLibraryClick);
    // Tests that waited in the outbox go into the library once it can be reached again.
    auto* outbox = new TOutboxSender(this);
    connect(outbox, &TOutboxSender::Sent, this, [this](int sent, int) {
        if (sent > 0 && m_library)
            m_library->mmRefreshClick();
    });

    QMenu* mmFile = menuBar()->addMenu(QStringLiteral("&File"));
    mmOpen = mmFile->addAction(QStringLiteral("&Open..."), QKeySequence(QStringLiteral("Ctrl+O")), this,
                               &TZRQForm::btnOpenClick);
    mmOpen->setObjectName(QStringLiteral("mmOpen"));
    mmNew = mmFile->addAction(QStringLiteral("&New..."), QKeySequence(QStringLiteral("Ctrl+N")), this,
                              &TZRQForm::btnNewClick);
    mmNew->setObjectName(QStringLiteral("mmNew"));
    mmLibrary = mmFile->addAction(QStringLiteral("Test &Library..."), QKeySequence(QStringLiteral("Ctrl+L")),
                                  this, &TZRQForm::btnLibraryClick);
    mmLibrary->setObjectName(QStringLiteral("mmLibrary"));
    QMenu* mmHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mmHelpContents = mmHelp->addAction(QStringLiteral("&Help"), QKeySequence(QStringLiteral("F1")), this,
                                       &TZRQForm::mmHelpContentsClick);
    mmHelpContents->setObjectName(QStringLiteral("mmHelpContents"));
    mmAboutCorvexZR =
        mmHelp->addAction(QStringLiteral("&About CorvexZR"), this, &TZRQForm::mmAboutCorvexZRClick);
    mmAboutCorvexZR->setObjectName(QStringLiteral("mmAboutCorvexZR"));

    statusBar()->setFixedHeight(StatusBarHeight);
    statusBar()->setSizeGripEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TZRQForm::~TZRQForm() {
    // Viewers left when the form goes without having closed (its window closes them first): the most
    // recent first; one whose user cancels the save question is asked again, so no unsaved test is
    // dropped without an answer.
    while (!m_viewerList.isEmpty())
        m_viewerList.last()->close();
    delete m_library;
    CloseAllHelp();
}

void TZRQForm::closeEvent(QCloseEvent* event) {
    if (!ViewersAgreeToClose()) {
        event->ignore();
        return;
    }
    while (!m_viewerList.isEmpty())
        m_viewerList.last()->CloseAnswered();
    QMainWindow::closeEvent(event);
    m_closed = true;
    EndWhenNoWindowIsLeft();
}

bool TZRQForm::ViewersAgreeToClose() {
    // A copy: the questions run message loops of their own.
    const QList<QPointer<TTestReportViewer>> viewers(m_viewerList.crbegin(), m_viewerList.crend());
    for (const QPointer<TTestReportViewer>& viewer : viewers)
        if (viewer && !viewer->CloseQuery())
            return false;
    return true;
}

void TZRQForm::EndWhenNoWindowIsLeft() {
    // A viewer that outlives the main window ends the program when it closes, so that the program
    // never runs on without a window.
    if (m_closed && m_viewerList.isEmpty())
        emit Closed();
}

void TZRQForm::AddViewer(TTestReportViewer* viewer) {
    connect(viewer, &TTestReportViewer::Closed, this, [this, viewer] { ChildFormClose(viewer); });
    m_viewerList.append(viewer);
    viewer->show();
}

void TZRQForm::ChildFormClose(TTestReportViewer* viewer) {
    m_viewerList.removeOne(viewer);
    EndWhenNoWindowIsLeft();
}

void TZRQForm::btnNewClick() {
    Guarded([this] {
        if (TTestReportViewer* viewer = RunNewTestChain(this))
            AddViewer(viewer);
    });
}

void TZRQForm::btnOpenClick() {
    FileDialogRequest request;
    request.filter = QStringLiteral("CorvexZR Test Records (*.zrq)|*.zrq|All Files (*.*)|*.*");
    request.defaultSuffix = QStringLiteral("zrq");
    const QString fileName = Dialogs().OpenFile(this, request);
    if (fileName.isEmpty())
        return;
    // A file that cannot be opened at all raises its error before any viewer exists.
    Guarded([&] { AddViewer(new TTestReportViewer(this, fileName)); });
}

TTestLibraryWindow* TZRQForm::LibraryWindow() const {
    return m_library;
}

void TZRQForm::btnLibraryClick() {
    if (!m_library) {
        m_library = new TTestLibraryWindow(this);
        connect(m_library, &TTestLibraryWindow::ViewerOpened, this, &TZRQForm::AddViewer);
    }
    m_library->show();
    m_library->setWindowState(m_library->windowState() & ~Qt::WindowMinimized);
    m_library->raise();
    m_library->activateWindow();
}

void TZRQForm::mmHelpContentsClick() {
    ShowHelpTopic(HelpTopicMain);
}

void TZRQForm::mmAboutCorvexZRClick() {
    TZRQAbout about(this);
    about.exec();
}

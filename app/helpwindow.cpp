#include "app/helpwindow.h"

#include "base/global.h"
#include "base/jpegimage.h"
#include "base/uifonts.h"

#include <QAction>
#include <QKeySequence>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

// The pages live in a static library: registering them from the window that shows them makes the
// linker keep them wherever help can be shown. Outside any namespace, as Q_INIT_RESOURCE requires.
static void RegisterHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

// The pages show the program's own pictures (qrc:/figures/...). They are decoded as the test windows
// decode them, with libjpeg, so the help does not depend on an image plugin of Qt's being installed.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String("qrc") &&
            name.path().startsWith(FiguresFolder)) {
            const JpegImageResult figure = LoadFigure(name.path().mid(FiguresFolder.size()));
            if (figure.ok())
                return figure.image;
        }
        return QTextBrowser::loadResource(type, name);
    }

private:
    static inline const QString FiguresFolder = QStringLiteral("/figures/");
};

} // namespace

THelpWindow::THelpWindow() : QWidget(nullptr, Qt::Window), m_browser(new HelpBrowser(this)) {
    RegisterHelpPages();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ProgramName + QStringLiteral(" Help"));
    setFont(WindowFont(9));
    resize(760, 620);

    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(QStringLiteral("Back"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(QStringLiteral("Forward"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    bar->addAction(QStringLiteral("Contents"), this, [this] { ShowTopic(HelpTopicMain); });
    // Escape puts the help away, as it closes a dialog: the technician reads and goes back to work.
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(ProgramName + QStringLiteral(" Help - ") + m_browser->documentTitle());
    });

    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setOpenExternalLinks(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
}

void THelpWindow::ShowTopic(const QString& topic) {
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + topic));
}

HelpWindows::~HelpWindows() {
    CloseAll();
}

void HelpWindows::ShowTopic(const QString& topic) {
    if (!m_window)
        m_window = new THelpWindow();
    m_window->ShowTopic(topic);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void HelpWindows::CloseAll() {
    if (m_window)
        m_window->close(); // deletes itself
}

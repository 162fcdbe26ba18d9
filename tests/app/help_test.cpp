// The help pages as the help window shows them: each topic loads with its title and style sheet, every
// link between the pages and every picture of their own resolves, and the pages fit the window.
#include "app/helpwindow.h"
#include "base/helptopic.h"
#include "tests/support/qtprinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

// Readable failure messages for the Qt values compared below.
void PrintTo(const QUrl& url, std::ostream* os) {
    *os << url.toString().toStdString();
}
void PrintTo(const QColor& colour, std::ostream* os) {
    *os << colour.name().toStdString();
}

namespace {

const QStringList AllTopics = {HelpTopicMain, HelpTopicReportViewer, HelpTopicWaveformViewer};

// The page title colour of help.css; a page showing it has read the style sheet.
const QColor HeadingColour(0x1f, 0x3a, 0x68);

struct PageContent {
    QStringList links;
    QStringList anchors;
    QStringList images;
    QColor headingColour;
};

PageContent Scan(const QTextDocument& document) {
    PageContent page;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1 && !page.headingColour.isValid() &&
            block.begin() != block.end())
            page.headingColour = block.begin().fragment().charFormat().foreground().color();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor()) {
                if (!format.anchorHref().isEmpty())
                    page.links << format.anchorHref();
                page.anchors << format.anchorNames();
            }
            if (format.isImageFormat())
                page.images << format.toImageFormat().name();
        }
    }
    page.links.removeDuplicates();
    page.images.removeDuplicates();
    return page;
}

bool IsExternal(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
           url.scheme() == QLatin1String("mailto");
}

// The resource path (":/help/...") of a link or picture met on the page at `source`.
QString ResourcePath(const QUrl& source, const QString& reference) {
    const QUrl url = source.resolved(QUrl(reference));
    return url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path() : QString();
}

class HelpPages : public ::testing::TestWithParam<QString> {
protected:
    HelpPages() {
        window.resize(760, 620);
        window.show();
    }

    const PageContent& Show(const QString& topic) {
        window.ShowTopic(topic);
        m_page = Scan(*window.Browser()->document());
        return m_page;
    }

    // The anchors of a page, each page loaded once per test.
    const QStringList& AnchorsOf(const QString& topic) {
        if (!m_anchors.contains(topic)) {
            THelpWindow other;
            other.ShowTopic(topic);
            m_anchors.insert(topic, Scan(*other.Browser()->document()).anchors);
        }
        return m_anchors[topic];
    }

    THelpWindow window;

private:
    PageContent m_page;
    QHash<QString, QStringList> m_anchors;
};

TEST_P(HelpPages, LoadsWithTitleTextAndStyleSheet) {
    const PageContent& page = Show(GetParam());
    const QTextDocument& document = *window.Browser()->document();
    EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/") + GetParam()));
    EXPECT_FALSE(document.metaInformation(QTextDocument::DocumentTitle).trimmed().isEmpty());
    EXPECT_TRUE(window.windowTitle().endsWith(document.metaInformation(QTextDocument::DocumentTitle)));
    EXPECT_GT(document.characterCount(), 3000) << "a page of real help, not a stub";
    EXPECT_EQ(page.headingColour, HeadingColour) << "help.css was not applied";
}

TEST_P(HelpPages, EveryLinkBetweenPagesResolves) {
    const QUrl source(QStringLiteral("qrc:/help/") + GetParam());
    const PageContent page = Show(GetParam());
    ASSERT_FALSE(page.links.isEmpty());
    for (const QString& link : page.links) {
        const QUrl url = source.resolved(QUrl(link));
        if (IsExternal(url))
            continue;
        const QString path = ResourcePath(source, link);
        ASSERT_FALSE(path.isEmpty()) << "link outside the help pages: " << link.toStdString();
        EXPECT_TRUE(QFile::exists(path)) << "broken link " << link.toStdString();
        if (url.hasFragment()) {
            const QString target = QFileInfo(path).fileName();
            EXPECT_TRUE(AnchorsOf(target).contains(url.fragment()))
                << "no anchor for " << link.toStdString() << " on " << GetParam().toStdString();
        }
    }
}

// The picture as the help window shows it: the pages' own drawings and the program's figures alike.
QImage PictureShown(QTextBrowser& browser, const QUrl& url) {
    const QVariant resource = browser.loadResource(QTextDocument::ImageResource, url);
    if (resource.typeId() == QMetaType::QImage)
        return resource.value<QImage>();
    return QImage::fromData(resource.toByteArray());
}

TEST_P(HelpPages, EveryPictureShows) {
    const QUrl source(QStringLiteral("qrc:/help/") + GetParam());
    const PageContent page = Show(GetParam());
    ASSERT_FALSE(page.images.isEmpty());
    for (const QString& image : page.images) {
        ASSERT_FALSE(ResourcePath(source, image).isEmpty())
            << "picture from outside the program: " << image.toStdString();
        EXPECT_FALSE(PictureShown(*window.Browser(), source.resolved(QUrl(image))).isNull())
            << "picture missing or unreadable: " << image.toStdString();
    }
}

TEST_P(HelpPages, FitTheHelpWindowWithoutScrollingSideways) {
    Show(GetParam());
    QTextBrowser* browser = window.Browser();
    QCoreApplication::processEvents(); // the page takes the width the window leaves it
    ASSERT_EQ(browser->document()->textWidth(), browser->viewport()->width());
    // Content wider than the text width (a picture, a table, a line of a report) widens the page.
    EXPECT_LE(browser->document()->size().width(), browser->viewport()->width())
        << "something on the page is wider than the help window";

    // Rendered pages for a writer's eyes: CORVEX_HELP_SNAPSHOTS=<folder> writes one PNG per screen.
    const QString folder = qEnvironmentVariable("CORVEX_HELP_SNAPSHOTS");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents(); // the scroll bars follow the final layout
    window.grab().save(
        QDir(folder).filePath(QFileInfo(GetParam()).baseName() + QStringLiteral("-window.png")));
    QTextDocument* document = browser->document();
    const QSizeF size = document->size();
    const int screen = 900;
    for (int top = 0, n = 1; top < size.height(); top += screen, ++n) {
        QImage image(qCeil(size.width()), screen, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(0, -top);
        document->drawContents(&painter, QRectF(0, top, size.width(), screen));
        painter.end();
        image.save(
            QDir(folder).filePath(QFileInfo(GetParam()).baseName() + QStringLiteral("-%1.png").arg(n)));
    }
}

INSTANTIATE_TEST_SUITE_P(Topics, HelpPages, ::testing::ValuesIn(AllTopics.begin(), AllTopics.end()),
                         [](const auto& topic) { return QFileInfo(topic.param).baseName().toStdString(); });

TEST(HelpPagesTogether, TheMainTopicLeadsToTheOthersAndBack) {
    THelpWindow window;
    window.ShowTopic(HelpTopicMain);
    const QStringList fromMain = Scan(*window.Browser()->document()).links;
    for (const QString& topic : {HelpTopicReportViewer, HelpTopicWaveformViewer}) {
        EXPECT_TRUE(std::any_of(fromMain.begin(), fromMain.end(), [&](const QString& link) {
            return link.startsWith(topic);
        })) << topic.toStdString();
        window.ShowTopic(topic);
        const QStringList back = Scan(*window.Browser()->document()).links;
        EXPECT_TRUE(std::any_of(back.begin(), back.end(), [](const QString& link) {
            return link.startsWith(HelpTopicMain);
        })) << topic.toStdString();
    }
}

TEST(HelpPagesTogether, FollowingALinkShowsTheOtherTopicAndBackReturns) {
    THelpWindow window;
    window.ShowTopic(HelpTopicMain);
    const QString mainTitle = window.Browser()->documentTitle();
    // A click on a relative link resolves it against the page shown.
    window.Browser()->setSource(window.Browser()->source().resolved(QUrl(HelpTopicWaveformViewer)));
    EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/") + HelpTopicWaveformViewer));
    EXPECT_NE(window.Browser()->documentTitle(), mainTitle);
    window.Browser()->backward();
    EXPECT_EQ(window.Browser()->documentTitle(), mainTitle);
}

TEST(HelpPagesTogether, EveryWindowTopicLeadsToItsSection) {
    for (const QString& topic : {HelpTopicTestStart, HelpTopicLoadSelection, HelpTopicTestStep,
                                 HelpTopicDeviceInfo, HelpTopicLibrary}) {
        THelpWindow window;
        window.ShowTopic(topic);
        const QUrl url(topic);
        EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/") + topic));
        EXPECT_TRUE(Scan(*window.Browser()->document()).anchors.contains(url.fragment()))
            << topic.toStdString();
    }
}

TEST(HelpWindowsSeam, ShowsTheAskedTopicInOneWindowAndClosesIt) {
    HelpWindows windows;
    const ScopedInstall<HelpViewer> installed(windows);
    ShowHelpTopic(HelpTopicReportViewer);
    THelpWindow* first = windows.Window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Browser()->source(), QUrl(QStringLiteral("qrc:/help/") + HelpTopicReportViewer));
    ShowHelpTopic(HelpTopicWaveformViewer);
    EXPECT_EQ(windows.Window(), first) << "a second request reuses the open help window";
    EXPECT_EQ(first->Browser()->source(), QUrl(QStringLiteral("qrc:/help/") + HelpTopicWaveformViewer));
    CloseAllHelp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows.Window(), nullptr);
}

} // namespace

#include "app/zrqaboutform.h"

#include "base/appicons.h"
#include "base/desktop.h"
#include "base/global.h"
#include "app/maker.h"
#include "base/uifonts.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 303;
constexpr int ClientHeight = 312;
constexpr int StripHeight = 49;
// From the details' first column (10) to the website link (64).
constexpr int DetailsTabStop = 54;

QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A label that looks and behaves like a web link; the click goes to the window's handler.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {
        setStyleSheet(QStringLiteral("color: blue;"));
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

// A memo whose lines start 2 pixels in, in line with the labels around it.
class DetailsMemo : public QPlainTextEdit {
public:
    DetailsMemo(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
        setViewportMargins(2, 0, 0, 0);
    }
};

QWidget* WhitePanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setGeometry(0, 0, ClientWidth, ClientHeight - StripHeight);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

QLabel* Picture(QWidget* parent, const char* resource, int x, int y, int w, int h) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(x, y, w, h);
    picture->setPixmap(AppPicture(resource).pixmap(QSize(w, h)));
    return picture;
}

} // namespace

TZRQAbout::TZRQAbout(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("About ") + ProgramName);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    setFont(WindowFont());
    setFixedSize(ClientWidth, ClientHeight);

    panelAbout = WhitePanel(this);
    panelAbout->setObjectName(QStringLiteral("panelAbout"));
    Picture(panelAbout, "logos/velmora.svg", 8, 0, 153, 49);
    Picture(panelAbout, "logos/corvexzr.svg", 89, 48, 129, 41);
    lblVersion = new QLabel(QStringLiteral("Version ") + QStringLiteral(CORVEX_VERSION), panelAbout);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(4, 88, 299, 18);
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setStyleSheet(QStringLiteral("color: grey; font-weight: bold;"));
    lblCopyright = Label(panelAbout, QStringLiteral(CORVEX_COPYRIGHT), 10, 112);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    txtDetails = new DetailsMemo(MakerDetails, panelAbout);
    txtDetails->setObjectName(QStringLiteral("txtDetails"));
    txtDetails->setGeometry(8, 136, 297, 105);
    txtDetails->setReadOnly(true);
    txtDetails->setFrameShape(QFrame::NoFrame);
    txtDetails->setFocusPolicy(Qt::NoFocus);
    txtDetails->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDetails->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Eight lines of the window font fill the 105 pixels exactly: the editor's usual inner margin
    // would push the last line under the website link.
    txtDetails->document()->setDocumentMargin(0);
    // The contact values start under the website link, as a column.
    txtDetails->setTabStopDistance(DetailsTabStop);
    Label(panelAbout, QStringLiteral("Website:"), 10, 240);
    lblWebsite = new LinkLabel(MakerWebsiteCaption, panelAbout, [this] { lblWebsiteClick(); });
    lblWebsite->setObjectName(QStringLiteral("lblWebsite"));
    lblWebsite->move(64, 240);
    lblWebsite->adjustSize();
    lblWebsite->setToolTip(QStringLiteral("Open Velmora website"));

    panelMore = WhitePanel(this);
    panelMore->setObjectName(QStringLiteral("panelMore"));
    auto* heading = Label(panelMore, QStringLiteral("Acknowledgments"), 16, 16);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->adjustSize();
    auto* provided = Label(panelMore, QStringLiteral("Icons provided by"), 16, 40);
    lblIconCredit = new LinkLabel(IconSetCaption, panelMore, [this] { lblIconCreditClick(); });
    lblIconCredit->setObjectName(QStringLiteral("lblIconCredit"));
    lblIconCredit->setToolTip(IconSetTooltip);
    // The credit follows its lead-in and is closed by a full stop, whatever the font's widths.
    lblIconCredit->move(std::max(104, provided->x() + provided->width() + 4), 40);
    lblIconCredit->adjustSize();
    Label(panelMore, QStringLiteral("."), lblIconCredit->x() + lblIconCredit->width(), 40);
    panelMore->hide();

    btnMore = new QPushButton(QStringLiteral("More"), this);
    btnMore->setObjectName(QStringLiteral("btnMore"));
    btnMore->setGeometry(16, ClientHeight - StripHeight + 12, 83, 25);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(208, ClientHeight - StripHeight + 12, 83, 25);
    btnOK->setDefault(true);
    connect(btnMore, &QPushButton::clicked, this, &TZRQAbout::btnMoreClick);
    connect(btnOK, &QPushButton::clicked, this, &TZRQAbout::btnOKClick);
}

void TZRQAbout::btnOKClick() {
    done(1);
}

void TZRQAbout::btnMoreClick() {
    const bool toMore = panelAbout->isVisibleTo(this);
    panelAbout->setVisible(!toMore);
    panelMore->setVisible(toMore);
    btnMore->setText(toMore ? QStringLiteral("Back") : QStringLiteral("More"));
}

void TZRQAbout::lblWebsiteClick() {
    Desktop().OpenUrl(QUrl(MakerWebsite));
}

void TZRQAbout::lblIconCreditClick() {
    Desktop().OpenUrl(QUrl(IconSetWebsite));
}

#include "app/zrqaboutform.h"

#include "app/appicons.h"
#include "app/desktop.h"
#include "app/global.h"
#include "app/maker.h"
#include "app/uifonts.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 303;
constexpr int ClientHeight = 312;
constexpr int StripHeight = 49;

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
    Picture(panelAbout, "logos/velmora.svg", 8, 0, 153, 49);
    Picture(panelAbout, "logos/corvexzr.svg", 89, 48, 129, 41);
    lblVersion = new QLabel(QStringLiteral("Version ") + QStringLiteral(CORVEX_VERSION), panelAbout);
    lblVersion->setGeometry(4, 88, 299, 18);
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setStyleSheet(QStringLiteral("color: grey; font-weight: bold;"));
    lblCopyright = Label(panelAbout, QStringLiteral(CORVEX_COPYRIGHT), 10, 112);
    auto* details = new QPlainTextEdit(MakerDetails, panelAbout);
    details->setGeometry(8, 136, 297, 105);
    details->setReadOnly(true);
    details->setFrameShape(QFrame::NoFrame);
    details->setFocusPolicy(Qt::NoFocus);
    details->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    details->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Label(panelAbout, QStringLiteral("Website:"), 10, 240);
    lblWebsite = new LinkLabel(MakerWebsiteCaption, panelAbout, [this] { lblWebsiteClick(); });
    lblWebsite->move(64, 240);
    lblWebsite->adjustSize();
    lblWebsite->setToolTip(QStringLiteral("Open Velmora website"));

    panelMore = WhitePanel(this);
    auto* heading = Label(panelMore, QStringLiteral("Acknowledgments"), 16, 16);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->adjustSize();
    auto* provided = Label(panelMore, QStringLiteral("Icons provided by"), 16, 40);
    lblIconCredit = new LinkLabel(IconSetCaption, panelMore, [this] { lblIconCreditClick(); });
    lblIconCredit->setToolTip(IconSetTooltip);
    // The credit follows its lead-in and is closed by a full stop, whatever the font's widths.
    lblIconCredit->move(std::max(104, provided->x() + provided->width() + 4), 40);
    lblIconCredit->adjustSize();
    Label(panelMore, QStringLiteral("."), lblIconCredit->x() + lblIconCredit->width(), 40);
    panelMore->hide();

    btnMore = new QPushButton(QStringLiteral("More"), this);
    btnMore->setGeometry(16, ClientHeight - StripHeight + 12, 83, 25);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
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

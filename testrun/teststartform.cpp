#include "testrun/teststartform.h"

#include "base/helpkey.h"
#include "base/helptopic.h"
#include "base/jpegimage.h"
#include "base/placement.h"
#include "base/uifonts.h"
#include "link/analyzerboxes.h"
#include "testrun/starthandshake.h"

#include <QLabel>
#include <QPushButton>

TTestStart::TTestStart(QWidget* owner, TZRTestRec* testRec, AnalyzerLink& link)
    : TModalForm(owner), m_testRec(testRec), m_link(link) {
    setWindowTitle(QStringLiteral("CorvexZR Variable Load Test"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    setFixedSize(640, 506);
    CentreOnScreen(*this);
    AddHelpKey(*this, HelpTopicTestStart);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* title = new QLabel(QStringLiteral("Start Variable Load Test"), this);
    QFont big = WindowFont();
    big.setPixelSize(19);
    title->setFont(big);
    title->setGeometry(16, 8, 608, 26);
    auto* usb =
        new QLabel(QStringLiteral("Connect Corvex to the computer via USB. Power up Corvex and select REMOTE "
                                  "from the main menu."),
                   this);
    usb->setGeometry(16, 38, 608, 18);
    auto* cables =
        new QLabel(QStringLiteral("Connect Quillam (ZRQ) to Corvex using serial cable (RS232) and ZRU "
                                  "adapter cable as shown."),
                   this);
    cables->setGeometry(16, 58, 608, 18);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 80, 640, 386);
    Image1->setAlignment(Qt::AlignCenter);
    const JpegImageResult diagram = LoadFigure(QString::fromLatin1(kConnectionFigure));
    if (diagram.image.isNull())
        Image1->setText(QStringLiteral("The connection diagram cannot be shown: ") + diagram.error);
    else
        Image1->setPixmap(QPixmap::fromImage(diagram.image));

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(468, 474, 75, 25);
    btnStart = new QPushButton(QStringLiteral("Start Test"), this);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setGeometry(549, 474, 75, 25);
    btnStart->setDefault(true);
    connect(btnStart, &QPushButton::clicked, this, &TTestStart::btnStartClick);
    connect(btnCancel, &QPushButton::clicked, this, &TTestStart::btnCancelClick);
}

void TTestStart::btnStartClick() {
    AnalyzerBoxes boxes;
    if (RunStartHandshake(*m_testRec, m_link, boxes).ok)
        done(mrFormOK);
}

void TTestStart::btnCancelClick() {
    done(mrFormCancel);
}

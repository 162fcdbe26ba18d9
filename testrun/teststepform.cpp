#include "testrun/teststepform.h"

#include "base/benchhardware.h"
#include "base/cascade.h"
#include "base/helpkey.h"
#include "base/helptopic.h"
#include "base/jpegimage.h"
#include "base/uifonts.h"
#include "link/analyzerboxes.h"
#include "link/commprogressform.h"
#include "report/verdictchooser.h"
#include "testrun/editinfoform.h"
#include "verdict/verdicttext.h"
#include "waveform/waveformviewer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

namespace {

// Steps the progress window of a download.
class WindowStepper : public ProgressStepper {
public:
    explicit WindowStepper(TCommProgress& window) : m_window(window) {}
    void StepIt() override { m_window.StepIt(); }

private:
    TCommProgress& m_window;
};

constexpr int WindowHeight = 475;
// The verdict's strip between the figure and the buttons, when loads are checked: the whole test's
// verdict so far over the last load's.
constexpr int VerdictStripHeight = 84;

QLabel* CaptionLabel(QWidget* parent, int pixelSize) {
    auto* label = new QLabel(parent);
    QFont font = WindowFont();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    return label;
}

// A wrapped line never parts a number from its unit ("limit 30.45 J", "at 150 J").
QString KeepUnitsWithNumbers(QString text) {
    static const QRegularExpression numberAndUnit(QStringLiteral("(\\d) (J|%|ohms)(?!\\w)"));
    return text.replace(numberAndUnit, QStringLiteral("\\1\u00a0\\2"));
}

} // namespace

TTestStep::TTestStep(QWidget* owner, const uint8_t* selectedLoads, TZRTestRec* testRec, AnalyzerLink& link)
    : TModalForm(owner), m_testRec(testRec), m_sequencer(*this, selectedLoads, testRec, link) {
    setWindowTitle(QStringLiteral("CorvexZR Variable Load Test"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    setFixedSize(640, WindowHeight);
    AddHelpKey(*this, HelpTopicTestStep);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    lblLoad = CaptionLabel(this, 19);
    lblLoad->setObjectName(QStringLiteral("lblLoad"));
    lblLoad->setGeometry(16, 4, 608, 26);
    // Two lines: the instruction may be followed by why the step came back.
    lblDesc = CaptionLabel(this, 13);
    lblDesc->setObjectName(QStringLiteral("lblDesc"));
    lblDesc->setGeometry(16, 30, 608, 34);
    lblDesc->setWordWrap(true);
    lblDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgFigure = new QLabel(this);
    imgFigure->setObjectName(QStringLiteral("imgFigure"));
    imgFigure->setGeometry(0, 64, 640, 362);
    imgFigure->setAlignment(Qt::AlignCenter);

    btnEditInfo = new QPushButton(QStringLiteral("Edit Device Info..."), this);
    btnEditInfo->setObjectName(QStringLiteral("btnEditInfo"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnBack = new QPushButton(QStringLiteral("< Back"), this);
    btnBack->setObjectName(QStringLiteral("btnBack"));
    btnSkip = new QPushButton(QStringLiteral("Skip >"), this);
    btnSkip->setObjectName(QStringLiteral("btnSkip"));
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    lblOverallMark = new QLabel(this);
    lblOverallMark->setObjectName(QStringLiteral("lblOverallMark"));
    lblOverallMark->setGeometry(16, 431, 104, 22);
    lblOverall = CaptionLabel(this, 13);
    lblOverall->setObjectName(QStringLiteral("lblOverall"));
    lblOverall->setGeometry(128, 429, 496, 26);
    lblAgainst = CaptionLabel(this, 13);
    lblAgainst->setObjectName(QStringLiteral("lblAgainst"));
    lblAgainst->setGeometry(16, 455, 608, 20);
    lblVerdict = CaptionLabel(this, 13);
    lblVerdict->setObjectName(QStringLiteral("lblVerdict"));
    lblVerdict->setGeometry(16, 477, 520, 34);
    lblVerdict->setWordWrap(true);
    lblVerdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblVerdictMark = new QLabel(this);
    lblVerdictMark->setObjectName(QStringLiteral("lblVerdictMark"));
    lblVerdictMark->setGeometry(544, 480, 80, 26);
    for (QLabel* label : {lblOverallMark, lblOverall, lblAgainst, lblVerdict, lblVerdictMark})
        label->hide();
    PlaceButtons();
    setTabOrder(btnOK, btnEditInfo);
    setTabOrder(btnEditInfo, btnCancel);
    setTabOrder(btnCancel, btnBack);
    setTabOrder(btnBack, btnSkip);

    connect(btnOK, &QPushButton::clicked, this, &TTestStep::RunOK);
    connect(btnBack, &QPushButton::clicked, this, [this] { m_sequencer.btnBackClick(); });
    connect(btnSkip, &QPushButton::clicked, this, [this] { m_sequencer.btnSkipClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { m_sequencer.btnCancelClick(); });
    connect(btnEditInfo, &QPushButton::clicked, this, [this] { m_sequencer.btnEditInfoClick(); });

    m_sequencer.ShowStep();
}

void TTestStep::PlaceButtons() {
    const int top = height() - 37;
    btnEditInfo->setGeometry(16, top, 121, 25);
    btnCancel->setGeometry(305, top, 75, 25);
    btnBack->setGeometry(386, top, 75, 25);
    btnSkip->setGeometry(467, top, 75, 25);
    btnOK->setGeometry(549, top, 75, 25);
}

void TTestStep::CheckLoadsAgainst(std::optional<TVerdictBasis> basis) {
    m_basis = std::move(basis);
    setFixedSize(640, m_basis ? WindowHeight + VerdictStripHeight : WindowHeight);
    PlaceButtons();
    for (QLabel* label : {lblOverallMark, lblOverall, lblAgainst, lblVerdict})
        label->setVisible(m_basis.has_value());
    lblVerdictMark->hide();
    lblVerdict->clear();
    if (m_basis) {
        // A long profile name is shortened in its middle, whole in the tool tip.
        const QString against = QStringLiteral("Checked against \"%1\" at %2 J.")
                                    .arg(m_basis->profile.name, JoulesText(m_basis->setting.selected));
        lblAgainst->setText(
            lblAgainst->fontMetrics().elidedText(against, Qt::ElideMiddle, lblAgainst->width()));
        lblAgainst->setToolTip(against);
    }
    ShowOverall();
}

void TTestStep::ShowOverall() {
    if (!m_basis)
        return;
    // From the first step on, and INCOMPLETE until every load is judged: never PASS before.
    const TRecordVerdict verdict = RecordVerdict(*m_testRec, m_basis->setting, m_basis->profile.tolerance);
    ShowVerdictMark(*lblOverallMark, verdict.overall);
    lblOverall->setText(JudgedLoadsText(verdict));
}

void TTestStep::LoadStored(TTestLoad load) {
    if (!m_basis)
        return;
    const TLoadVerdict verdict =
        LoadVerdict(m_testRec->Loads[load], load, m_basis->setting, m_basis->profile.tolerance);
    QString text = LoadName(load) + QStringLiteral(": ") + LoadVerdictFigures(verdict, QLocale());
    if (const QString hint = EnergySettingHint(verdict, m_basis->setting.selected); !hint.isEmpty())
        text = LoadName(load) + QStringLiteral(": ") + hint;
    lblVerdict->setText(KeepUnitsWithNumbers(text));
    ShowCheckMark(*lblVerdictMark,
                  verdict.Checked() ? LoadCheckText(verdict.check) : QStringLiteral("NOT CHECKED"),
                  verdict.check);
    lblVerdictMark->show();
    ShowOverall();
}

TTestStep::~TTestStep() {
    // The live viewers do not outlive the test.
    while (!m_waveViewers.isEmpty())
        m_waveViewers.takeLast()->close();
}

void TTestStep::RunOK() {
    m_sequencer.btnOKClick();
    // A close asked for while the run kept the windows alive is answered now that it has ended.
    if (m_closePending) {
        m_closePending = false;
        if (isVisible())
            close();
    }
}

void TTestStep::closeEvent(QCloseEvent* event) {
    if (m_sequencer.Busy()) {
        m_closePending = true;
        event->ignore();
        return;
    }
    if (!m_sequencer.FormCloseQuery(isVisible())) {
        event->ignore();
        return;
    }
    TModalForm::closeEvent(event);
}

void TTestStep::keyPressEvent(QKeyEvent* event) {
    // Esc is the Cancel button: it asks before abandoning the test, or stops the discharge wait.
    if (event->key() == Qt::Key_Escape) {
        m_sequencer.btnCancelClick();
        return;
    }
    TModalForm::keyPressEvent(event);
}

void TTestStep::SetLoadCaption(const QString& text) {
    lblLoad->setText(text);
    ShowStepVerdict();
}

void TTestStep::ShowStepVerdict() {
    const TTestLoad load = m_sequencer.CurrentStep();
    if (!m_basis || load == TESTS_DONE_STEP)
        return; // the closing step keeps the last load's verdict
    if (m_testRec->Loads[load].HasData)
        LoadStored(load); // back on a load already fired: its own verdict, not the last one's
}

void TTestStep::SetDescription(const QString& text) {
    lblDesc->setText(text);
}

void TTestStep::ShowFigure(int loadIndex) {
    if (loadIndex == TESTS_DONE_STEP) {
        imgFigure->clear(); // no jumper setting to make: the last load's figure would mislead
        return;
    }
    const QString name = FigureResourceName(loadIndex);
    const JpegImageResult figure = LoadFigure(name);
    if (figure.image.isNull()) {
        imgFigure->setPixmap(QPixmap());
        imgFigure->setText(QStringLiteral("The figure %1 cannot be shown: %2").arg(name, figure.error));
        return;
    }
    imgFigure->setPixmap(QPixmap::fromImage(figure.image));
}

void TTestStep::SetButtons(bool ok, bool back, bool skip) {
    btnOK->setEnabled(ok);
    btnBack->setEnabled(back);
    btnSkip->setEnabled(skip);
    if (ok)
        btnOK->setFocus();
}

ProgressStepper* TTestStep::OpenProgress(int maximum, const QString& label) {
    m_progressStepper.reset();
    m_commProgress = std::make_unique<TCommProgress>(this, maximum, 0, label);
    m_progressStepper = std::make_unique<WindowStepper>(*m_commProgress);
    m_commProgress->show();
    return m_progressStepper.get();
}

void TTestStep::CloseProgress() {
    if (m_commProgress)
        m_commProgress->close();
}

void TTestStep::OpenLiveViewer(TTestLoad load) {
    auto* viewer = new TWaveformViewer(this, QList<TTestLoad>{load}, *m_testRec);
    connect(viewer, &TWaveformViewer::Closed, this, [this, viewer] { m_waveViewers.removeOne(viewer); });
    PlaceLiveViewer(*viewer, static_cast<int>(m_viewersOpened++));
    m_waveViewers.append(viewer);
    // The technician's hands are on the paddles: the viewer opens beside this window and leaves it the
    // keyboard, so that Return presses OK for the next load. A click still activates the viewer.
    viewer->setAttribute(Qt::WA_ShowWithoutActivating);
    viewer->show();
    // A window system that activates new windows all the same (or gave the focus elsewhere when the
    // progress window closed) hands it back.
    activateWindow();
}

void TTestStep::PlaceLiveViewer(QWidget& viewer, int index) const {
    // Beside this window and clear of the Simulator, so that neither is hidden while the technician
    // looks at a waveform; the frame is estimated from this window's own frame.
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    QList<QRect> keepClear{frameGeometry()};
    for (QWidget* window : QApplication::topLevelWidgets())
        if (IsBenchHardware(window) && window->isVisible())
            keepClear.append(window->frameGeometry());
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect target =
        CascadeFrame(screen->availableGeometry(), keepClear, viewer.size().grownBy(frame), index);
    viewer.setGeometry(target.marginsRemoved(frame));
}

void TTestStep::EditDeviceInfo(bool deviceIDRequired) {
    TEditInfo editor(this, deviceIDRequired, m_testRec);
    editor.exec();
}

void TTestStep::Tell(const AnalyzerNotice& notice) {
    AnalyzerBoxes().Tell(notice);
}

bool TTestStep::ConfirmExit() {
    return AskExitTest();
}

void TTestStep::EndModal(int result) {
    done(result);
}

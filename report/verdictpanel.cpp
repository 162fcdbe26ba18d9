#include "report/verdictpanel.h"

#include "base/settings.h"
#include "report/verdictchooser.h"
#include "verdict/verdicttext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("VerdictPanel");
const QString OpenKey = QStringLiteral("OPEN");

// The columns of LoadVerdictHeadings.
enum Column {
    colLoad,
    colDelivered,
    colDeclared,
    colDeviation,
    colPercent,
    colLimit,
    colResult,
    ColumnCount
};

QString Make(const TZRTestRec& test) {
    return test.GetDeviceInfo(diManufacturer);
}

QString Model(const TZRTestRec& test) {
    return test.GetDeviceInfo(diModel);
}

} // namespace

TVerdictPanel::TVerdictPanel(QWidget* parent, const TZRTestRec& test) : QWidget(parent), m_test(test) {
    setObjectName(QStringLiteral("pnlVerdict"));
    btnFold = new QToolButton(this);
    btnFold->setObjectName(QStringLiteral("btnFold"));
    btnFold->setText(QStringLiteral("Verdict"));
    btnFold->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnFold->setCheckable(true);
    btnFold->setAutoRaise(true);
    m_chooser = new TVerdictChooser(this);
    lblOverall = new QLabel(this);
    lblOverall->setObjectName(QStringLiteral("lblOverall"));
    lblOverall->setMinimumWidth(90);

    auto* head = new QHBoxLayout;
    head->addWidget(btnFold);
    head->addWidget(m_chooser->ProfileBox(), 1);
    head->addWidget(m_chooser->EnergyBox());
    head->addWidget(lblOverall);

    m_body = new QWidget(this);
    tblVerdict = new QTableWidget(LOAD_COUNT, ColumnCount, m_body);
    tblVerdict->setObjectName(QStringLiteral("tblVerdict"));
    tblVerdict->setHorizontalHeaderLabels(LoadVerdictHeadings());
    tblVerdict->verticalHeader()->hide();
    tblVerdict->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    tblVerdict->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblVerdict->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblVerdict->setSelectionMode(QAbstractItemView::NoSelection);
    tblVerdict->setFocusPolicy(Qt::NoFocus);
    tblVerdict->setFixedHeight(tblVerdict->horizontalHeader()->sizeHint().height() +
                               LOAD_COUNT * tblVerdict->verticalHeader()->defaultSectionSize() + 4);
    lblSummary = new QLabel(m_body);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(tblVerdict);
    body->addWidget(lblSummary);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    layout->addLayout(head);
    layout->addWidget(m_body);

    Fold(ProgramSettings().ReadInteger(Section, OpenKey, 1) != 0);
    connect(btnFold, &QToolButton::toggled, this, [this](bool open) {
        Fold(open);
        ProgramSettings().WriteInteger(Section, OpenKey, open ? 1 : 0);
    });
    // Looking at a record against another energy is not a choice for the next test: only the load
    // selection makes that.
    connect(m_chooser, &TVerdictChooser::Changed, this, &TVerdictPanel::Judge);
    Judge();
}

void TVerdictPanel::Fold(bool open) {
    btnFold->setChecked(open);
    btnFold->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(open);
}

void TVerdictPanel::ShowRecord() {
    m_chooser->Show(PreselectVerdictChoice(TVerdictSettings(ProgramSettings()), m_chooser->Profiles(),
                                           Make(m_test), Model(m_test), TVerdictChoice{}));
    Judge();
}

std::optional<TVerdictBasis> TVerdictPanel::Basis() const {
    return m_chooser->Basis();
}

void TVerdictPanel::Choose(const TVerdictChoice& choice) {
    m_chooser->Show(choice);
    Judge();
}

void TVerdictPanel::ShowLoad(int row, const TLoadVerdict& v, bool checking) {
    const QStringList cells = LoadVerdictCells(v, checking, QLocale());
    for (int column = 0; column < ColumnCount; ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(column == colLoad || column == colResult ? Qt::AlignCenter
                                                                        : Qt::AlignRight | Qt::AlignVCenter);
        tblVerdict->setItem(row, column, item);
    }
    if (checking && v.Checked()) {
        QTableWidgetItem* result = tblVerdict->item(row, colResult);
        result->setBackground(CheckColour(v.check));
        result->setForeground(Qt::white);
    }
}

void TVerdictPanel::Judge() {
    const std::optional<TVerdictBasis> basis = m_chooser->Basis();
    // Without a profile the rows still show what each load received.
    const TRecordVerdict verdict = basis ? RecordVerdict(m_test, basis->setting, basis->profile.tolerance)
                                         : RecordVerdict(m_test, TProfileSetting{}, TTolerance{});
    for (int load = 0; load < LOAD_COUNT; ++load)
        ShowLoad(load, verdict.loads[load], basis.has_value());
    if (!basis) {
        ShowVerdictMark(*lblOverall, TOverallVerdict::NoCheck);
        lblSummary->setText(
            QStringLiteral("Choose the defibrillator's profile and the energy selected on it to "
                           "check each load against the energy its maker declares."));
        return;
    }
    ShowVerdictMark(*lblOverall, verdict.overall);
    QString summary =
        RecordVerdictLine(verdict, basis->profile.name, basis->setting.selected) + QLatin1Char('.');
    if (const QString hint = EnergySettingHint(verdict, basis->setting.selected); !hint.isEmpty())
        summary += QStringLiteral("\n") + hint.left(1).toUpper() + hint.mid(1);
    lblSummary->setText(summary);
}

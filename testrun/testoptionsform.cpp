#include "testrun/testoptionsform.h"

#include "base/global.h"
#include "base/helpkey.h"
#include "base/helptopic.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/uifonts.h"
#include "records/tzrtestrec.h"
#include "report/verdictchooser.h"
#include "testrun/testrunsettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TTestOptions::TTestOptions(QWidget* owner, uint8_t* selectedLoads)
    : TModalForm(owner), m_selectedLoads(selectedLoads) {
    setWindowTitle(QStringLiteral("CorvexZR Variable Load Test"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    AddHelpKey(*this, HelpTopicLoadSelection);

    auto* heading =
        new QLabel(QStringLiteral("Select the loads to include in the variable load test."), this);
    heading->setFixedHeight(33);
    heading->setWordWrap(true);
    cboxOptions = new QListWidget(this);
    cboxOptions->setObjectName(QStringLiteral("cboxOptions"));
    const std::array<bool, LOAD_COUNT> ticked = TTestRunSettings(ProgramSettings()).Loads();
    for (int i = 0; i < LOAD_COUNT; ++i) {
        auto* item = new QListWidgetItem(LoadName(i), cboxOptions);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setSizeHint(QSize(0, 15));
        item->setCheckState(ticked[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    }
    // The device editor comes later in the test; the make and model it will offer name the device.
    m_chooser = new TVerdictChooser(this);
    const TVerdictSettings remembered(ProgramSettings());
    const TTestRunSettings device(ProgramSettings());
    m_chooser->Show(PreselectVerdictChoice(remembered, m_chooser->Profiles(),
                                           device.Remembered(diManufacturer), device.Remembered(diModel),
                                           remembered.Last()));
    auto* check = new QFormLayout;
    check->setContentsMargins(0, 0, 0, 0);
    check->addRow(QStringLiteral("Check against:"), m_chooser->ProfileBox());
    check->addRow(QStringLiteral("Selected energy:"), m_chooser->EnergyBox());

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TTestOptions::btnOKClick);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(cboxOptions, 1);
    layout->addLayout(check);
    layout->addLayout(bottom);
    // Laid out 281 pixels wide; wider where a profile's name needs it, so that every name shows whole
    // once chosen.
    m_chooser->ProfileBox()->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setFixedSize(std::max(281, layout->totalSizeHint().width()), 325);
    setTabOrder(cboxOptions, m_chooser->ProfileBox());
    setTabOrder(m_chooser->ProfileBox(), m_chooser->EnergyBox());
    setTabOrder(m_chooser->EnergyBox(), Button1);
}

std::optional<TVerdictBasis> TTestOptions::VerdictBasis() const {
    return ResolveVerdictChoice(m_chooser->Profiles(), m_choice);
}

void TTestOptions::btnOKClick() {
    std::array<bool, LOAD_COUNT> checked{};
    bool any = false;
    for (int i = 0; i < LOAD_COUNT; ++i) {
        checked[static_cast<size_t>(i)] = cboxOptions->item(i)->checkState() == Qt::Checked;
        any = any || checked[static_cast<size_t>(i)];
    }
    // A test of no load would be an empty record; it goes no further than this window.
    if (!any) {
        ShowMessage(QStringLiteral("Tick at least one load to test."), QStringLiteral("No Load Selected"),
                    MsgIcon::Information);
        cboxOptions->setFocus();
        return;
    }
    for (int i = 0; i < LOAD_COUNT; ++i)
        m_selectedLoads[i] = checked[static_cast<size_t>(i)] ? 1 : 0;
    TTestRunSettings(ProgramSettings()).RememberLoads(checked);
    m_choice = m_chooser->Choice();
    // The one place a choice is remembered for the next test; for the device once the test has named it.
    TVerdictSettings(ProgramSettings()).RememberLast(m_choice);
    done(mrFormOK);
}

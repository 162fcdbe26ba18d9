#include "testrun/editinfoform.h"

#include "base/global.h"
#include "base/helpkey.h"
#include "base/helptopic.h"
#include "base/messages.h"
#include "base/placement.h"
#include "base/settings.h"
#include "base/uifonts.h"
#include "library/libraryreads.h"
#include "testrun/testrunsettings.h"

#include <QCompleter>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

namespace {

const QPoint DesignedPosition(453, 264);

} // namespace

struct TEditInfo::Field {
    QLineEdit* TEditInfo::*edit;
    const char* objectName;
    TDeviceInfoSlot slot;
};

const TEditInfo::Field TEditInfo::Fields[DEVICE_INFO_SLOTS] = {
    {&TEditInfo::txtDeviceID, "txtDeviceID", diDeviceID},
    {&TEditInfo::txtSerial, "txtSerial", diSerialNo},
    {&TEditInfo::txtMake, "txtMake", diManufacturer},
    {&TEditInfo::txtModel, "txtModel", diModel},
    {&TEditInfo::txtFacility, "txtFacility", diFacility},
    {&TEditInfo::txtLocation, "txtLocation", diLocation},
    {&TEditInfo::txtTech, "txtTech", diTechID},
};

TEditInfo::TEditInfo(QWidget* owner, bool deviceIDRequired, TZRTestRec* testRec)
    : TModalForm(owner), m_testRec(testRec), m_deviceIDRequired(deviceIDRequired) {
    setWindowTitle(QStringLiteral("Edit Device Information"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    setFixedSize(432, 311);
    MoveOnScreen(*this, DesignedPosition);
    AddHelpKey(*this, HelpTopicDeviceInfo);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Edit Device Information:"), this), 0, 0, 1, 2);
    const char* captions[] = {"Device ID", "Serial Number", "Make",         "Model",
                              "Facility",  "Location",      "Technician ID"};
    for (int i = 0; i < DEVICE_INFO_SLOTS; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(DEVICE_INFO_MAX_CHARS);
        edit->setObjectName(QString::fromLatin1(Fields[i].objectName));
        this->*Fields[i].edit = edit;
        const int row = 1 + (i / 2) * 2;
        const int column = i % 2;
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), row, column);
        grid->addWidget(edit, row + 1, column);
    }
    lblSerialWarning = new QLabel(this);
    lblSerialWarning->setObjectName(QStringLiteral("lblSerialWarning"));
    lblSerialWarning->setWordWrap(true);
    lblSerialWarning->setStyleSheet(QStringLiteral("QLabel { color: #c62828; font-weight: bold; }"));
    lblSerialWarning->hide();
    grid->addWidget(lblSerialWarning, 9, 0, 1, 2);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->setRowStretch(10, 1);
    grid->addLayout(buttons, 11, 0, 1, 2);
    connect(btnOK, &QPushButton::clicked, this, &TEditInfo::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TEditInfo::btnCancelClick);
    for (int i = 0; i + 1 < DEVICE_INFO_SLOTS; ++i)
        setTabOrder(this->*Fields[i].edit, this->*Fields[i + 1].edit);
    setTabOrder(txtTech, btnOK);
    setTabOrder(btnOK, btnCancel);

    m_knownIds = new QStringListModel(this);
    auto* completer = new QCompleter(m_knownIds, txtDeviceID);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    txtDeviceID->setCompleter(completer);
    // The library's devices come when the library has answered; until then the editor is as it is for
    // a device never tested.
    auto* reads = new TLibraryReads(this);
    reads->Read(
        QStringLiteral("devices"), [](TTestLibrary& library) { return library.Devices(); }, this,
        &TEditInfo::KnowDevices);

    // A record already identified shows its own texts, all of them as the technician entered them; a
    // new one is offered texts for its Device ID, which follow the Device ID until typed over.
    const TTestRunSettings remembered(ProgramSettings());
    for (const Field& f : Fields)
        m_remembered[f.slot] = remembered.Remembered(f.slot);
    txtDeviceID->setText(m_testRec->GetDeviceInfo(diDeviceID));
    if (!txtDeviceID->text().isEmpty()) {
        for (const Field& f : Fields) {
            m_typedByHand[f.slot] = true;
            (this->*f.edit)->setText(m_testRec->GetDeviceInfo(f.slot));
        }
    }
    OfferDetails();
    for (const Field& f : Fields)
        if (f.slot != diDeviceID)
            connect(this->*f.edit, &QLineEdit::textEdited, this,
                    [this, slot = f.slot] { m_typedByHand[slot] = true; });
    connect(txtDeviceID, &QLineEdit::textChanged, this, &TEditInfo::OfferDetails);
    connect(txtSerial, &QLineEdit::textChanged, this, &TEditInfo::ShowSerialWarning);
}

void TEditInfo::KnowDevices(TLibraryAnswer<std::vector<TLibraryDevice>> answer) {
    m_known = TKnownDevices(std::move(answer.value));
    m_knownIds->setStringList(m_known.DeviceIds());
    OfferDetails();
}

void TEditInfo::OfferDetails() {
    // The technician is the one at the keyboard, not the one who last tested the device.
    const TLibraryDevice* device = m_known.Find(txtDeviceID->text());
    for (const Field& f : Fields) {
        if (f.slot == diDeviceID || m_typedByHand[f.slot])
            continue;
        const bool fromLibrary = device && f.slot != diTechID;
        (this->*f.edit)->setText(fromLibrary ? device->deviceInfo[f.slot] : m_remembered[f.slot]);
    }
    ShowSerialWarning();
}

void TEditInfo::ShowSerialWarning() {
    const QString warning = m_known.SerialWarning(txtDeviceID->text(), txtSerial->text());
    lblSerialWarning->setText(warning);
    lblSerialWarning->setVisible(!warning.isEmpty());
}

bool TEditInfo::DeviceIDMissing() {
    if (!m_deviceIDRequired || !txtDeviceID->text().isEmpty())
        return false;
    ShowMessage(QStringLiteral("Enter the Device ID."), QStringLiteral("Device ID Not Entered"),
                MsgIcon::Information);
    // Where the technician is to type next, whichever field or button had the focus before.
    txtDeviceID->setFocus();
    return true;
}

void TEditInfo::btnOKClick() {
    if (DeviceIDMissing())
        return;
    for (const Field& f : Fields)
        m_testRec->SetDeviceInfo(f.slot, (this->*f.edit)->text());
    std::array<QString, DEVICE_INFO_SLOTS> texts;
    for (const Field& f : Fields)
        texts[f.slot] = (this->*f.edit)->text();
    TTestRunSettings(ProgramSettings()).RememberDevice(texts);
    done(mrFormOK);
}

void TEditInfo::btnCancelClick() {
    if (DeviceIDMissing())
        return;
    done(mrFormCancel);
}

void TEditInfo::showEvent(QShowEvent* event) {
    // Shown, the window knows the size of its frame, which must fit on the screen as well.
    MoveOnScreen(*this, DesignedPosition);
    TModalForm::showEvent(event);
}

void TEditInfo::keyPressEvent(QKeyEvent* event) {
    // Esc is the Cancel button, with its Device ID check; the close box alone closes unchecked.
    if (event->key() == Qt::Key_Escape) {
        btnCancelClick();
        return;
    }
    TModalForm::keyPressEvent(event);
}

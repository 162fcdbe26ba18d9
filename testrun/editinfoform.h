#pragma once
// The device information editor: the identity of the defibrillator under test. Everything but the
// Device ID is remembered in section "EditInfo", so a technician testing several units of one site
// types it once.

#include "records/tzrtestrec.h"

#include "base/modalform.h"

class QLineEdit;
class QPushButton;

class TEditInfo : public TModalForm {
    Q_OBJECT
public:
    TEditInfo(QWidget* owner, bool deviceIDRequired, TZRTestRec* testRec);

    void btnOKClick();
    void btnCancelClick();

    // What the editor offers a new record for `slot`: the text remembered from the last device
    // edited (nothing for the Device ID).
    static QString RememberedText(TDeviceInfoSlot slot);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Each text box with its object name, its device-information slot and its settings key.
    struct Field;
    static const Field Fields[];

    // Widgets, named after their members for tests and tools (findChild).
    QLineEdit* txtDeviceID = nullptr;
    QLineEdit* txtSerial = nullptr;
    QLineEdit* txtMake = nullptr;
    QLineEdit* txtModel = nullptr;
    QLineEdit* txtFacility = nullptr;
    QLineEdit* txtLocation = nullptr;
    QLineEdit* txtTech = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    bool DeviceIDMissing() const;

    TZRTestRec* m_testRec;
    bool m_deviceIDRequired;
};

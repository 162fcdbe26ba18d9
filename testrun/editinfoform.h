#pragma once
// The device information editor: the identity of the defibrillator under test. A Device ID the test
// library knows brings the device's details from its newest test; any other keeps the site details
// of the last entry, remembered in section "EditInfo", so that a technician testing several units of
// one site types them once. The serial number belongs to one unit: it is never carried over from
// another, and one that disagrees with the library's is pointed out. The library's devices are read on
// the library's worker and fill in when they come, so that a server out of reach never holds the editor.

#include "library/knowndevices.h"
#include "library/libraryreads.h"
#include "records/tzrtestrec.h"

#include "base/modalform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;

class TEditInfo : public TModalForm {
    Q_OBJECT
public:
    TEditInfo(QWidget* owner, bool deviceIDRequired, TZRTestRec* testRec);

    void btnOKClick();
    void btnCancelClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Each text box with its object name and its device-information slot.
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
    QLabel* lblSerialWarning = nullptr;

    bool DeviceIDMissing();
    // The library's devices have come (read on the library's worker when the editor opens).
    void KnowDevices(TLibraryAnswer<std::vector<TLibraryDevice>> answer);
    // Fills the fields not typed by hand for the Device ID now in its box.
    void OfferDetails();
    void ShowSerialWarning();

    TZRTestRec* m_testRec;
    bool m_deviceIDRequired;
    TKnownDevices m_known;
    QStringListModel* m_knownIds = nullptr;  // what the Device ID box offers
    QString m_remembered[DEVICE_INFO_SLOTS]; // what the settings remember of each slot
    bool m_typedByHand[DEVICE_INFO_SLOTS] = {};
};

#pragma once
// The load selection: which of the seven loads the test includes, remembered for the next test.

#include "base/modalform.h"

class QListWidget;
class QPushButton;

class TTestOptions : public TModalForm {
    Q_OBJECT
public:
    // Check marks from section "TEST_OPTIONS" (missing or unreadable keys: checked).
    TTestOptions(QWidget* owner, uint8_t* selectedLoads);

    // Writes the seven selection bytes and the settings; modal result OK. The close box writes nothing.
    void btnOKClick();

private:
    // Widgets, named after their members for tests and tools (findChild).
    QListWidget* cboxOptions = nullptr;
    QPushButton* Button1 = nullptr;

    uint8_t* m_selectedLoads;
};

// "LOAD_25" ... "LOAD_175".
QString LoadSettingKey(int loadIndex);

#include "link/analyzerlink.h"

#include "link/usbcomm.h"

int AnalyzerLink::Open() {
    return UsbOpen(&m_handle);
}

void AnalyzerLink::Close() {
    UsbClose(&m_handle);
}

#pragma once
// The open analyzer and its one owner. A test run holds one AnalyzerLink from the start window to
// the report; the analyzer is open from a successful Open until Close, and the object closes it when
// it goes, however the run ends. Everything that ends the use of the analyzer goes through Close (the
// transport's status query too, when it fails), so a handle is never closed twice and a run that
// never opened the analyzer closes nothing.
//
// The transport's operations (link/usbcomm.h) take Handle(), the address of the handle variable.

#include "link/ftdidriver.h"

class AnalyzerLink {
public:
    AnalyzerLink() = default;
    // Takes over a handle opened elsewhere: the probe opens through the backend, which says why an
    // open fails.
    explicit AnalyzerLink(FtHandle opened) : m_handle(opened) {}
    ~AnalyzerLink() { Close(); }
    AnalyzerLink(const AnalyzerLink&) = delete;
    AnalyzerLink& operator=(const AnalyzerLink&) = delete;

    // Opens the analyzer by its USB description: 0, or -1 when it is not found (the transport shows
    // "Device Not Detected." itself).
    int Open();
    // Closes the analyzer if it is open; does nothing otherwise.
    void Close();
    bool IsOpen() const { return m_handle != FtHandle::Null; }
    // The handle variable, for the transport's operations; Null while the analyzer is not open.
    FtHandle* Handle() { return &m_handle; }

private:
    FtHandle m_handle = FtHandle::Null;
};

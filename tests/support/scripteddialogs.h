#pragma once
// File and print dialogs for tests: each dialog takes the next scripted answer and is recorded.

#include "base/dialogs.h"

#include <QList>
#include <QStringList>

class ScriptedDialogs : public FileDialogs {
public:
    // Next file names chosen (an empty string cancels that dialog). Once used up, dialogs are cancelled.
    void ChooseFiles(const QStringList& names) { m_files.append(names); }
    // Next print dialogs: a PDF file to print into, or an empty string to cancel.
    void PrintTo(const QStringList& pdfPaths) { m_prints.append(pdfPaths); }

    QString OpenFile(QWidget* parent, const FileDialogRequest& request) override;
    QString SaveFile(QWidget* parent, const FileDialogRequest& request) override;
    bool SetupPrinter(QWidget* parent, QPrinter& printer) override;

    const QList<FileDialogRequest>& Requests() const { return m_requests; }
    int PrintDialogsShown() const { return m_printDialogs; }

private:
    QStringList m_files;
    QStringList m_prints;
    QList<FileDialogRequest> m_requests;
    int m_printDialogs = 0;
    const ScopedInstall<FileDialogs> m_installed{*this}; // installed for the lifetime of this object
};

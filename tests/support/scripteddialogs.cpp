#include "tests/support/scripteddialogs.h"

#include <QPrinter>

QString ScriptedDialogs::OpenFile(QWidget*, const FileDialogRequest& request) {
    m_requests.append(request);
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}

QString ScriptedDialogs::SaveFile(QWidget*, const FileDialogRequest& request) {
    m_requests.append(request);
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}

bool ScriptedDialogs::SetupPrinter(QWidget*, QPrinter& printer) {
    ++m_printDialogs;
    const QString path = m_prints.isEmpty() ? QString() : m_prints.takeFirst();
    if (path.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

#pragma once
// The file-dialog and print-dialog seam. Windows ask through Dialogs(); the program installs the Qt
// dialogs, tests install scripted answers (a chosen file name, a PDF printer).

#include "base/seam.h"

#include <QString>

class QPrinter;
class QWidget;

struct FileDialogRequest {
    QString caption;
    // In the "Description|*.ext|All Files (*.*)|*.*" form the windows are specified with.
    QString filter;
    // Added when the user types a name without extension ("zrq", "csv").
    QString defaultSuffix;
    // The folder the dialog opens in (empty: the dialog's own choice).
    QString folder;
    // The name shown at first: a suggested name, or the previous choice of this dialog as a full path.
    QString fileName;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString SaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool SetupPrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The Qt dialogs until others are installed (ScopedInstall<FileDialogs>).
template <> Seam<FileDialogs>& TheSeam<FileDialogs>();
FileDialogs& Dialogs();

// "A (*.a)|*.a|All Files (*.*)|*.*" -> "A (*.a);;All Files (*.*)"
QString QtFileFilter(const QString& pipeFilter);

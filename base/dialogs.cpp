#include "base/dialogs.h"

#include "base/seamdefault.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace {

QFileDialog::Options NoOptions() {
    return QFileDialog::Options();
}

class QtDialogs : public FileDialogs {
public:
    QString OpenFile(QWidget* parent, const FileDialogRequest& r) override {
        return Run(parent, r, QFileDialog::AcceptOpen);
    }
    QString SaveFile(QWidget* parent, const FileDialogRequest& r) override {
        return Run(parent, r, QFileDialog::AcceptSave);
    }
    bool SetupPrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    static QString Run(QWidget* parent, const FileDialogRequest& r, QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent, r.caption);
        dialog.setOptions(NoOptions());
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setNameFilter(QtFileFilter(r.filter));
        dialog.setDefaultSuffix(r.defaultSuffix);
        if (!r.folder.isEmpty())
            dialog.setDirectory(r.folder);
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }
};

} // namespace

template <> Seam<FileDialogs>& TheSeam<FileDialogs>() {
    return SeamWithDefault<FileDialogs, QtDialogs>();
}

FileDialogs& Dialogs() {
    return *TheSeam<FileDialogs>().Get();
}

QString QtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The description already names its patterns; Qt takes them from the parentheses.
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

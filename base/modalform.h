#pragma once
// Base of the program's modal windows: they end with modal result 1 (OK) or 2 (Cancel), and the
// close box, like Esc, ends them with Cancel.
//
// Run with exec(), a window that has an owner is modal to its owner's family of windows only: the
// owner, the owner's owners and the windows they own (the main window and its report viewers) wait,
// while windows of no owner go on taking input: the live waveform viewers of a test, the help window
// and the demo's Simulator window, which stands for the hardware on the bench.

#include <QDialog>

enum TModalResult { mrFormOK = 1, mrFormCancel = 2 };

class TModalForm : public QDialog {
public:
    using QDialog::QDialog;
    void reject() override { done(mrFormCancel); }
    int exec() override {
        if (parentWidget() != nullptr && windowModality() == Qt::NonModal)
            setWindowModality(Qt::WindowModal);
        return QDialog::exec();
    }
};

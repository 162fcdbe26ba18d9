#pragma once
// Base of the program's modal windows: they end with modal result 1 (OK) or 2 (Cancel), and the
// close box, like Esc, ends them with Cancel.

#include <QDialog>

enum TModalResult { mrFormOK = 1, mrFormCancel = 2 };

class TModalForm : public QDialog {
public:
    using QDialog::QDialog;
    void reject() override { done(mrFormCancel); }
};

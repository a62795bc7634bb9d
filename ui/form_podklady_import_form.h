#pragma once
// The window of TFormPodkladyImport: the number of the prepared document to import,
// "Storno" and "Import". Keys and clicks go to its commands; the window obeys their
// request to close, and leaves the typed number in the commands when it closes.

#include "import/form_podklady_import.h"

#include <QDialog>

class QPushButton;
class TEditTovel;

class FormPodkladyImportDialog : public QDialog {
    Q_OBJECT
public:
    // The commands outlive the window.
    explicit FormPodkladyImportDialog(TFormPodkladyImport &commands, QWidget *parent = nullptr);

    // The window's controls (for its tests).
    QWidget *control(TFormPodkladyImport::Control c) const;

protected:
    void showEvent(QShowEvent *e) override;
    void done(int result) override;

private:
    TFormPodkladyImport &m_commands;
    TEditTovel *m_number;
    QPushButton *m_storno, *m_import;
};

#pragma once
// The windows of a report run: the setup dialog "Nastavení tisku sestavy", the progress
// window "Stav přípravy tisku", the modal preview "Náhled před tiskem" with its print
// command "&Tisk", and the printer. The report engine reaches them through ReportScreens.

#include "reports/sestavy.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrintPreviewDialog;
class QRadioButton;
class QSpinBox;

// The setup dialog over a run's setup: destination (the choices allowed in
// setup.choices), printer, copies, collation, duplex, the preview's zoom and the PDF file;
// each setting enabled for its destination when its choice is in setup.choices. "OK" writes the
// choices back into setup and closes with mrOk; "Storno" or Esc leave setup as it was.
class SestavySetupDialog : public QDialog {
    Q_OBJECT
public:
    SestavySetupDialog(TSestavySetup &setup, QWidget *parent = nullptr);

    QRadioButton *previewButton() const { return m_preview; }
    QRadioButton *printerButton() const { return m_printer; }
    QRadioButton *fileButton() const { return m_file; }
    QSpinBox *copiesBox() const { return m_copies; }
    QSpinBox *zoomBox() const { return m_zoom; }
    QLineEdit *fileEdit() const { return m_fileName; }

    void accept() override;

private:
    void updateEnabled();

    TSestavySetup &m_setup;
    QRadioButton *m_preview, *m_printer, *m_file;
    QComboBox *m_printerName;
    QSpinBox *m_copies;
    QSpinBox *m_zoom;
    QCheckBox *m_collate, *m_duplex;
    QLineEdit *m_fileName;
};

// The progress window, shown from creation until destruction; every text is painted at
// once (pending paint events run, user input does not).
class SestavyProgressWindow final : public TSestavyProgress {
public:
    explicit SestavyProgressWindow(QWidget *parent = nullptr);
    ~SestavyProgressWindow() override;
    void Show(const QString &text) override;
    QDialog *window() const { return m_window.get(); }

private:
    std::unique_ptr<QDialog> m_window;
    QLabel *m_text;
};

// Prepares the preview of the report's pages on a printer of the report's setup: title,
// 100 % zoom, modal, and the print command renamed "&Tisk" (hint "Tisk sestavy", key Ctrl+P), which
// asks for the printer, prints the pages with the progress window and closes the
// preview. The pages have the keyboard when it opens: PgDn, PgUp and the arrows scroll
// them, Home goes to the top of the first page and End to the end of the last. The
// caller runs it (exec).
void SetupSestavyPreview(QPrintPreviewDialog &dialog, const TSestavy &report);
// The print command of a prepared preview; nullptr when the dialog has none.
QAction *SestavyPreviewPrintAction(QPrintPreviewDialog &dialog);
// Prints the report's pages on the printer of its setup (the system's default printer
// when none is named), with its copies, collation and duplex.
void PrintSestavyOnPrinter(const TSestavy &report);

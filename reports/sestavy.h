#pragma once
// TSestavy: the run of a report. A run asks for the destination (preview, printer or a
// PDF file), has the report's layout draw every page (report_drawing.h), and paints the
// laid-out pages with QPainter onto the destination. What is printed is the report
// handed to Execute; the engine keeps only the settings of the runs. QtGui only; the
// windows of a run (setup dialog, progress window, preview, printer) are reached through
// ReportScreens (report_screens.h).

#include "report_drawing.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

// Destinations of a run.
enum class TDestination { Preview, Printer, File };

// The choices the setup dialog offers; a run shows the dialog only when SetupDialog is in
// the set.
enum TSetupChoice {
    ssSetupDialog = 0x001,
    ssCopies = 0x002,
    ssCollate = 0x004,
    ssDuplex = 0x008,
    ssPreview = 0x010,
    ssPrinter = 0x020,
    ssFile = 0x040,
    ssPrinterSetup = 0x080,
    ssPreviewSetup = 0x100,
    ssAll = 0x1FF,
};

// What the setup dialog shows and the user changes: the destination, the copies, and the
// printer's, the preview's and the file's settings.
struct TSestavySetup {
    int choices = ssAll;
    TDestination destination = TDestination::Preview;
    int copies = 1;
    int previewZoom = 100;  // the preview's zoom in percent
    bool collate = false;
    bool duplex = false;
    QString printerName;  // empty: the system's default printer
    QString fileName;     // the PDF of the file destination
};

// The progress window "Stav přípravy tisku" of a run; it closes when destroyed.
class TSestavyProgress {
public:
    virtual ~TSestavyProgress() = default;
    // Shows the text ("Generuji stranu 3").
    virtual void Show(const QString &text) = 0;
};

class TSestavy {
public:
    // The texts of the engine's windows and of the print job.
    static const QString kSetupTitle;        // "Nastavení tisku sestavy"
    static const QString kStatusTitle;       // "Stav přípravy tisku"
    static const QString kPreviewTitle;      // "Náhled před tiskem"
    static const QString kStatusFormat;      // "Generuji stranu %p"
    static const QString kPrintStatusFormat; // "Tisknu stranu %p"
    static const QString kTitle;             // "Dodavky od dodavatele"
    // The engine's own report file of the file destination, as a PDF.
    static const QString kDefaultFileName;   // "sestava.pdf"

    // Setup choices: all allowed at start; the commands clear them (0) or leave them.
    int SystemSetups = ssAll;
    // Where a run starts: the preview, unless a batch job points it at a file.
    TDestination DefaultDestination = TDestination::Preview;
    // What the last caller asked for; a run still starts from DefaultDestination.
    TDestination RequestedDestination = TDestination::Preview;
    // The PDF written by the file destination.
    QString OutputFileName = kDefaultFileName;

    // Runs the report: destination := DefaultDestination; the setup dialog when the setup
    // choices include it (Storno ends the run without output, the layout not drawn);
    // every page drawn by report.draw on paper of report.orientation under the progress
    // window; then the modal preview (printing from it), the printer, or the PDF file
    // (written whole or not at all). Errors of the layout, of the file or of the store
    // are raised; nothing is sent anywhere after an error.
    void Execute(const ReportLayout &report);

    // The pages of the last run (empty before the first, and after a run whose layout
    // failed).
    const ReportDocument &Document() const { return m_doc; }
    // The setup the last run used (destination, copies, printer, file).
    const TSestavySetup &Setup() const { return m_setup; }

    // Paints the generated pages onto a paged device (a printer, a PDF writer, the
    // preview's printer), one page after the other, with the progress window showing
    // "Tisknu stranu %p" when withProgress is set. The device's page layout is set to A4
    // in the report's orientation without margins, so positions count from the paper's
    // edge. AppError when the device cannot be painted on.
    void PrintPages(QPagedPaintDevice &device, bool withProgress) const;

private:
    void generate(const ReportLayout &report);

    TSestavySetup m_setup;
    ReportDocument m_doc;
};

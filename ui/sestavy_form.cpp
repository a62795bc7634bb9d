#include "sestavy_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A printer for the report: full page (positions from the paper's edge), the print
// job's title, and the printer, copies, collation and duplex of the setup.
void configurePrinter(QPrinter &printer, const TSestavySetup &setup)
{
    if (!setup.printerName.isEmpty())
        printer.setPrinterName(setup.printerName);
    printer.setFullPage(true);
    printer.setDocName(TSestavy::kTitle);
    printer.setCopyCount(std::max(1, setup.copies));
    printer.setCollateCopies(setup.collate);
    printer.setDuplex(setup.duplex ? QPrinter::DuplexAuto : QPrinter::DuplexNone);
}

// Home and End on the pages of a preview: the top of the first page and the end of the
// last one. The page view scrolls with PgUp, PgDn and the arrows by itself.
class PreviewHomeEnd : public QObject {
public:
    explicit PreviewHomeEnd(QAbstractScrollArea *pages)
        : QObject(pages), m_pages(pages)
    {
        pages->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Home && key != Qt::Key_End)
            return false;
        QScrollBar *bar = m_pages->verticalScrollBar();
        bar->setValue(key == Qt::Key_Home ? bar->minimum() : bar->maximum());
        return true;
    }

private:
    QAbstractScrollArea *m_pages;
};

} // namespace

SestavySetupDialog::SestavySetupDialog(TSestavySetup &setup, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_setup(setup), m_preview(new QRadioButton(QStringLiteral("&Náhled"), this)),
      m_printer(new QRadioButton(QStringLiteral("&Tiskárna"), this)),
      m_file(new QRadioButton(QStringLiteral("&Soubor"), this)), m_printerName(new QComboBox(this)),
      m_copies(new QSpinBox(this)), m_zoom(new QSpinBox(this)), m_collate(new QCheckBox(QStringLiteral("Kompletovat kopie"), this)),
      m_duplex(new QCheckBox(QStringLiteral("Oboustranný tisk"), this)), m_fileName(new QLineEdit(this))
{
    setWindowTitle(TSestavy::kSetupTitle);
    const int c = setup.choices;

    auto *destination = new QGroupBox(QStringLiteral("Výstup"), this);
    auto *destinationLayout = new QVBoxLayout(destination);
    for (QRadioButton *b : {m_preview, m_printer, m_file})
        destinationLayout->addWidget(b);
    m_preview->setEnabled(c & ssPreview);
    m_printer->setEnabled(c & ssPrinter);
    m_file->setEnabled(c & ssFile);
    m_preview->setChecked(setup.destination == TDestination::Preview);
    m_printer->setChecked(setup.destination == TDestination::Printer);
    m_file->setChecked(setup.destination == TDestination::File);

    m_printerName->addItem(QStringLiteral("(výchozí tiskárna)"), QString());
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        m_printerName->addItem(name, name);
    m_printerName->setCurrentIndex(std::max(0, m_printerName->findData(setup.printerName)));
    m_copies->setRange(1, 999);
    m_copies->setValue(std::max(1, setup.copies));
    m_collate->setChecked(setup.collate);
    m_duplex->setChecked(setup.duplex);
    m_zoom->setRange(10, 400);
    m_zoom->setSuffix(QStringLiteral(" %"));
    m_zoom->setValue(std::clamp(setup.previewZoom, 10, 400));
    m_fileName->setText(setup.fileName);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Tiskárna"), m_printerName);
    form->addRow(QStringLiteral("Počet kopií"), m_copies);
    form->addRow(QString(), m_collate);
    form->addRow(QString(), m_duplex);
    form->addRow(QStringLiteral("Zvětšení náhledu"), m_zoom);
    form->addRow(QStringLiteral("Soubor PDF"), m_fileName);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addLayout(form);
    layout->addWidget(buttons);
    for (QRadioButton *b : {m_preview, m_printer, m_file})
        connect(b, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    updateEnabled();
}

void SestavySetupDialog::updateEnabled()
{
    const int c = m_setup.choices;
    const bool printer = m_printer->isChecked();
    m_printerName->setEnabled(printer && (c & ssPrinterSetup));
    m_copies->setEnabled(printer && (c & ssCopies));
    m_collate->setEnabled(printer && (c & ssCollate));
    m_duplex->setEnabled(printer && (c & ssDuplex));
    m_zoom->setEnabled(m_preview->isChecked() && (c & ssPreviewSetup));
    m_fileName->setEnabled(m_file->isChecked());
}

void SestavySetupDialog::accept()
{
    m_setup.destination = m_printer->isChecked() ? TDestination::Printer
                          : m_file->isChecked()  ? TDestination::File
                                                 : TDestination::Preview;
    m_setup.printerName = m_printerName->currentData().toString();
    m_setup.copies = m_copies->value();
    m_setup.collate = m_collate->isChecked();
    m_setup.duplex = m_duplex->isChecked();
    m_setup.previewZoom = m_zoom->value();
    m_setup.fileName = m_fileName->text().trimmed().isEmpty() ? TSestavy::kDefaultFileName : m_fileName->text().trimmed();
    QDialog::accept();
}

SestavyProgressWindow::SestavyProgressWindow(QWidget *parent)
    : m_window(std::make_unique<QDialog>(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)),
      m_text(new QLabel(m_window.get()))
{
    m_window->setWindowTitle(TSestavy::kStatusTitle);
    m_text->setMinimumWidth(220);
    m_text->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(m_window.get());
    layout->addWidget(m_text);
    m_window->show();
}

SestavyProgressWindow::~SestavyProgressWindow()
{
    // The keyboard goes back to the window that started the run, also where no window
    // manager hands the activation back.
    QWidget *opener = m_window->parentWidget();
    m_window.reset();
    if (opener) {
        opener->activateWindow();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void SestavyProgressWindow::Show(const QString &text)
{
    m_text->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QAction *SestavyPreviewPrintAction(QPrintPreviewDialog &dialog)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction *action : dialog.findChildren<QAction *>())
        if (action->text() == print || action->text() == QStringLiteral("&Tisk"))
            return action;
    return nullptr;
}

void SetupSestavyPreview(QPrintPreviewDialog &dialog, const TSestavy &report)
{
    dialog.setWindowTitle(TSestavy::kPreviewTitle);
    dialog.setModal(true);
    QPrinter *printer = dialog.printer();
    configurePrinter(*printer, report.Setup());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter *p) { report.PrintPages(*p, false); });
    if (QPrintPreviewWidget *view = dialog.findChild<QPrintPreviewWidget *>()) {
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(report.Setup().previewZoom / 100.0);
        // The pages have the keyboard from the start (not the page number in the tool
        // bar), so that the page keys move through them at once.
        if (auto *pages = view->findChild<QGraphicsView *>()) {
            new PreviewHomeEnd(pages);
            pages->setFocus(Qt::OtherFocusReason);
        }
    }
    QAction *print = SestavyPreviewPrintAction(dialog);
    if (!print)
        return;
    print->setText(QStringLiteral("&Tisk"));
    print->setToolTip(QStringLiteral("Tisk sestavy"));
    print->setStatusTip(QStringLiteral("Tisk sestavy"));
    // The tool bar's buttons take no focus: Ctrl+P prints by keys.
    print->setShortcut(QKeySequence::Print);
    // The dialog's own print command is replaced: the pages are printed with the progress
    // window, on the printer the user picks.
    QObject::disconnect(print, nullptr, &dialog, nullptr);
    QObject::connect(print, &QAction::triggered, &dialog, [&dialog, &report, printer] {
        QPrintDialog ask(printer, &dialog);
        if (ask.exec() != QDialog::Accepted)
            return;
        report.PrintPages(*printer, true);
        dialog.accept();
    });
}

void PrintSestavyOnPrinter(const TSestavy &report)
{
    QPrinter printer(QPrinter::HighResolution);
    configurePrinter(printer, report.Setup());
    report.PrintPages(printer, true);
}

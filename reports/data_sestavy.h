#pragma once
// TDataSestavy: the reports data module. It owns the report engine `Sestavy`, which runs
// the reports with the settings the commands leave on it; the receipts component
// `ffSesDod` and the work table `SesDodMem` of the deliveries overview; and the choices of
// a report run. Each report has a command of its own: PrintPodklad for the printout of a
// source document, SesPrehPRD for the deliveries overview. Created at start-up after
// TData, whose databases it uses; one instance for the run, reached through
// `DataSestavy`.

#include "sestavy.h"
#include "store/table.h"
#include "store/tables/catalogue.h"

#include <QDate>
#include <QObject>

class TData;

class TDataSestavy : public QObject {
    Q_OBJECT
public:
    // Requires Data (TData) to exist: ffSesDod is placed on its database (its table name
    // is given at run time), SesDodMem is created in its in-memory database. Points
    // DataSestavy at this instance.
    explicit TDataSestavy(QObject *parent = nullptr);
    // Closes both tables; DataSestavy no longer points here.
    ~TDataSestavy() override;

    // The report engine.
    TSestavy Sestavy;

    // Shift+F8 in the main window asked for the preview (F8 clears it).
    bool PreviewRequested = false;
    // The deliveries overview also goes to the workbook.
    bool ExcelExport = false;
    // The period of the deliveries overview, both days included.
    QDate DateFrom, DateTo;
    // Order of the deliveries overview: 0 by receipt number, 1 by supplier.
    int SortOrder = 0;

    // The components (store/tables/catalogue.h): `ffSesDod`, the receipts with every
    // field (HLA_TYP included) on TData's database, pointed at the current receipts table
    // before each overview run; `SesDodMem`, the rows of the deliveries overview in
    // memory, with the indexes "Doklad" and "KodDod" (KodDod, Doklad).
#define SESTAVY_TABLE(component, ...) store::Table component;
    STORE_REPORT_TABLES(SESTAVY_TABLE)
#undef SESTAVY_TABLE
    // Their field objects, named as TData's (`ffSesDodHLA_DO1`, `SesDodMemKodDod`).
#define SESTAVY_FIELDS(component, definition, columns) columns(STORE_FIELD_MEMBER, component)
    STORE_REPORT_TABLES(SESTAVY_FIELDS)
#undef SESTAVY_FIELDS

    // The workbook of the deliveries overview; empty: OverviewWorkbookPath of today.
    QString WorkbookPath;
    // What the last overview run did with the workbook.
    enum WorkbookOutcome { wbNotAsked, wbWritten, wbNoReceipts, wbFailed };
    WorkbookOutcome LastWorkbook = wbNotAsked;

    // The deliveries overview of the receipts dated dateFrom..dateTo: fills SesDodMem
    // (FillOverviewWorkTable), SortOrder := sortOrder, writes "PrehledDodavek.txt" in the
    // current directory, with ExcelExport the workbook when there are rows and a message
    // saying where it was written (a failure shows "Nejze komunikovat s MS Excel" with its
    // reason and the run goes on; without rows a message says that no workbook was made;
    // LastWorkbook tells which), and runs
    // Sestavy on the overview's layout in landscape (LayoutOverview of the rows of SesDodMem
    // in that order, the period DateFrom..DateTo and the shop's name). Returns the number of
    // receipts. Errors are raised. However it ends, SesDodMem is closed and ffSesDod loses
    // its range (and is closed again when the run opened it).
    int SesPrehPRD(int sortOrder, const QDate &dateFrom, const QDate &dateTo);

    // The printout of the current source document of `data`: runs Sestavy with its settings
    // as they stand on the printout's layout (LayoutPodklad), which reads the document
    // (ReadPodklad: the header of ffPodklHlav with the items in the range of ffPodklPol)
    // when the run draws its pages. Errors are raised.
    void PrintPodklad(TData &data);
};

// The one reports data module of the program; set by TDataSestavy's constructor.
extern TDataSestavy *DataSestavy;

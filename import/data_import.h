#pragma once
// TDataImport: the import of a delivery prepared by the price-calculation module
// ("Kalkulace cen") into the receipt being edited, posting a stock movement per line.

#include "podklady_file.h"

#include <QDate>
#include <QString>
#include <QVector>

// What became of one line of the prepared document that the import took up.
struct ImportedLine {
    PodkladyLine line;   // as read from the file, the variant padded to the width of SKL_IND
    bool posted = false; // its movement is posted and its DokladObsah row written
    QString reason;      // why it was skipped (empty when posted)
};

// The receipt an import fills in a receipt of its own: the supplier and the supplier's
// document it comes with.
struct ReceiptSource {
    QString supplier;      // HLA_ODB
    QString supplierName;  // HLA_NAC
    QDate delivered;       // HLA_DDO
    QString invoice;       // HLA_DO2, the supplier's document number
    double invoiced = 0;   // HLA_FAC, the amount invoiced
};

class TDataImport {
public:
    // The name of the import file in the import directory.
    static const QString kFileName;

    // The import file in `directory` (the current directory when blank): the file named
    // kFileName, or else the one whose name differs from it only in letter case. Empty
    // when the directory holds neither.
    static QString FindImportFile(const QString &directory);
    // The program creates one at start-up, after the data module TData; while it lives,
    // DataImport points to the first one created.
    TDataImport();
    ~TDataImport();
    TDataImport(const TDataImport &) = delete;
    TDataImport &operator=(const TDataImport &) = delete;

    // Asks for the number of a prepared document (TFormPodkladyImport through Screens)
    // and imports the lines of the import file in Data->ImportPath that carry it, in
    // capitals, into the current receipt of ffDodavky.
    // Requires: ffDodavky open with its current record in editing or inserting state and
    // HLA_ODB set; DokladObsah open. While Data->ImportRunning is set only shows
    // "Úloha importu spuštěna". Otherwise sets it for the whole run and clears it on
    // every way out. When a receipt already carries the number in HLA_DO3 and the file
    // holds lines of it, asks "Podklady dodávky … již byly importovány do příjemky ….
    // Importovat znovu ?" (No by default) and imports nothing on No.
    // Each imported line: one DokladObsah row, one "001" movement under the card's "SOR"
    // lock, its values added to HLA_PCA / HLA_NCA and the receipt written (Post, then
    // Edit). The variant read is padded with zeros to the width of SKL_IND. With
    // newDocument set, the first line that gets past the supplier check numbers the
    // receipt from CIS_PRD (HLA_DO1, HLA_DAT today, HLA_DO3 the typed number; the counter
    // is written at once, the receipt with its first posted line) and clears newDocument.
    // Lines that fail are reported and skipped; a missing supplier code ends the import.
    // A file that is missing, damaged or without the line fields is reported and nothing
    // is imported. Leaves the receipt in editing (inserting, when no line was posted into
    // a new one) and ffSortiment, ffSklad, ffDenik and ffCiselnik as they were found.
    // Returns what became of each line of the number, in file order.
    QVector<ImportedLine> PodkladyImport(bool &newDocument);

    // Imports into a receipt of its own: appends a receipt to ffDodavky (opened if closed,
    // and closed again) with the supplier, delivery date, supplier's document and amount
    // of `source`, empties DokladObsah (opened if closed) and runs PodkladyImport on it.
    // The receipt is written when at least one line was posted into it; otherwise it is
    // cancelled, also when the import gave it a number (a gap in the receipt numbers).
    // HLA_TYP stays unwritten. Store errors are raised with the receipt cancelled.
    QVector<ImportedLine> ImportIntoReceipt(const ReceiptSource &source);
};

// The import module of the program (nullptr while none exists).
extern TDataImport *DataImport;

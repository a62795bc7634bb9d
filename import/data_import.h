#pragma once
// TDataImport: the import of a delivery prepared by the price-calculation module
// ("Kalkulace cen") into the receipt being edited, posting a stock movement per line.

#include "podklady_file.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace store {
class Table;
}

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

    // Asks for the number of a prepared document (TFormPodkladyImport through ImportScreens)
    // and imports the lines of the import file in Data->ImportPath that carry it, in
    // capitals, into the current receipt of ffDodavky.
    // Requires: ffDodavky open with its current record in editing or inserting state and
    // HLA_ODB set; DokladObsah open. While Data->ImportRunning is set only shows
    // "Úloha importu spuštěna". Otherwise sets it for the whole run and clears it on
    // every way out. When a receipt already carries the number in HLA_DO3 and the file
    // holds lines of it, asks "Podklady dodávky … již byly importovány do příjemky ….
    // Importovat znovu ?" (No by default) and imports nothing on No.
    // The delivery is one unit: every line's "001" movement (under the card's "SOR" lock,
    // checked within the transaction), the receipt with the lines' values added to
    // HLA_PCA / HLA_NCA (written, then put back into editing) are committed in one
    // transaction, or nothing is. A line refused for its own reason (an unknown card or
    // variant, a code longer than its field, a card locked by another station) is
    // reported and skipped; the others go on. A line whose posting fails is reported and
    // skipped too: the run is rolled back and run again without it. The cards are taken
    // in card-number order, and a run that does not commit (a deadlock, a lost
    // connection that the import restores as the program does) is run again from the
    // start, at most four times; a run after which the new receipt is found stored counts
    // as committed. The repeat check is made again within the transaction, serialized on
    // the prepared number, so that of two imports of one delivery started at once the
    // second asks. Messages of the lines are shown once the transaction has ended, in
    // their order. One DokladObsah row per posted line is appended after the commit. The
    // variant read is padded with zeros to the width of SKL_IND. With newDocument set,
    // the receipt is numbered from CIS_PRD before the lines (HLA_DO1, HLA_DAT today,
    // HLA_DO3 the typed number; the counter is written at once) and newDocument cleared.
    // A missing supplier code ends the import at the first line. A file that is missing,
    // damaged or without the line fields is reported and nothing is imported. Leaves the
    // receipt in editing (inserting, when no line was posted into a new one). The cards,
    // variants, journal and lock records are read and written through cursors of the
    // import's own, opened once for the delivery: ffSortiment, ffSklad, ffDenik and
    // ffSemafor are not touched.
    // Returns what became of each line of the number, in file order; when the delivery
    // could not be committed at all, every line with the reason.
    QVector<ImportedLine> PodkladyImport(bool &newDocument);

    // Imports into a receipt of its own: appends a receipt to the receipts table, through a
    // cursor of its own (ffDodavky is not touched), with the supplier, delivery date,
    // supplier's document and amount of `source`, empties DokladObsah (opened if closed)
    // and imports into it as PodkladyImport does.
    // The receipt is written when at least one line was posted into it; otherwise it is
    // cancelled, also when the import gave it a number (a gap in the receipt numbers).
    // HLA_TYP stays unwritten. Store errors are raised with the receipt cancelled.
    QVector<ImportedLine> ImportIntoReceipt(const ReceiptSource &source);

private:
    // PodkladyImport into the receipt held in editing or inserting in `receipt`, the
    // component ffDodavky or a cursor on the receipts table.
    QVector<ImportedLine> importInto(store::Table &receipt, bool &newDocument);
};

// The import module of the program (nullptr while none exists).
extern TDataImport *DataImport;

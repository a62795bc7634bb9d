#pragma once
// TDataImport: the import of a delivery prepared by the price-calculation module
// ("Kalkulace cen") into the receipt being edited, posting a stock movement per line.

#include <QString>

class TDataImport {
public:
    // The name of the import file in the import directory.
    static const QString kFileName;

    // The program creates one at start-up, after the data module TData; while it lives,
    // DataImport points to the first one created.
    TDataImport();
    ~TDataImport();
    TDataImport(const TDataImport &) = delete;
    TDataImport &operator=(const TDataImport &) = delete;

    // Asks for the number of a prepared document (TFormPodkladyImport through Screens)
    // and imports the lines of the file Pod0000.dbf in Data->ImportPath that carry it,
    // in capitals, into the current receipt of ffDodavky.
    // Requires: ffDodavky open with its current record in editing or inserting state and
    // HLA_ODB set; DokladObsah open. While Data->ImportRunning is set only shows
    // "Úloha importu spuštěna". Otherwise sets it for the whole run and clears it on
    // every way out. Each imported line: one DokladObsah row, one "001" movement under
    // the card's "SOR" lock, its values added to HLA_PCA / HLA_NCA and the receipt
    // written. With newDocument set, the first line that gets past the supplier check
    // numbers the receipt from CIS_PRD (HLA_DO1, HLA_DAT today) and clears newDocument.
    // Lines that fail are reported and skipped; a missing supplier code ends the import.
    // A file that is missing, damaged or without the line fields is reported and nothing
    // is imported. Leaves the receipt in editing and ffSortiment, ffSklad, ffDenik and
    // ffCiselnik as they were found.
    void PodkladyImport(bool &newDocument);
};

// The import module of the program (nullptr while none exists).
extern TDataImport *DataImport;

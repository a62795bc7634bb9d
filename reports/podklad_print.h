#pragma once
// The printout of one source document: the title with its number, the box with the
// supplier and the receiving shop, the supplier's invoice data, the table of items over
// as many pages as it needs, the two total lines and the box for the signatures.
// Reading the document and laying it out are two steps: ReadPodklad takes what the
// printout shows from the tables once, LayoutPodklad draws it without a database.

#include "report_drawing.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

class TData;

// What the printout of a source document shows, as plain values.
struct PodkladSnapshot {
    // The header.
    QString HLA_DO1, HLA_DO2, HLA_MEN;
    QDate HLA_DDO;
    double HLA_FAC = 0, HLA_KUR = 0, HLA_EUR = 0, HLA_NCA = 0;

    // The items in their order, with their calculated totals POP_NCC and POP_CCC.
    struct Item {
        QString POP_KAV, POP_NAC;
        double POP_NCS = 0, POP_KUS = 0, POP_NCC = 0, POP_CNC = 0, POP_CKU = 0, POP_CCC = 0;
    };
    QVector<Item> items;

    // The header's supplier; none when its code is not in the supplier register.
    struct Supplier {
        QString DOD_FIR, DOD_ULI, DOD_MES;
    };
    std::optional<Supplier> supplier;

    // The receiving shop: the first record of the owner table (empty texts when it has
    // none).
    struct Shop {
        QString VLA_JED, VLA_NAC, VLA_ULI, VLA_MES;
    };
    Shop shop;
};

// Reads the printout of the current header of data.ffPodklHlav: its items are those in
// the current range of data.ffPodklPol, from the first (a closed item table gives none;
// the item table is left at its end); the supplier is looked up by HLA_ODB without its
// leading and trailing blanks on the register's index "KOD", the shop is the first
// record of the owner table, both through cursors of their own (ffDodavatele and
// ffVlastnik are not touched). Store errors are raised.
PodkladSnapshot ReadPodklad(TData &data);

// Draws the printout of `document`. Without the supplier the supplier box and the
// invoice block are left out. The item table goes on over as many pages as it needs;
// the totals and the signature block start a new page when they do not fit on the last
// page of items.
void LayoutPodklad(ReportDrawing &r, const PodkladSnapshot &document);

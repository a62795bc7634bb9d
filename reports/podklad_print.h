#pragma once
// The printout of one source document: the title with its number, the box with the
// supplier and the receiving shop, the supplier's invoice data, the table of items over
// as many pages as it needs, the two total lines and the box for the signatures.

class TData;
class TSestavy;

// Draws the current header of data.ffPodklHlav with the items in the current range of
// data.ffPodklPol (from the first; a closed item table prints no items) through the
// report's drawing operations. The supplier (HLA_ODB, trimmed, on ffDodavatele's "KOD")
// and the shop (the first record of ffVlastnik) are read; without the supplier the
// supplier box and the invoice block are left out. The totals and the signature block
// start a new page when they do not fit on the last page of items. ffDodavatele and
// ffVlastnik are given back as they were found (store::TableUse).
void PrintPodklad(TData &data, TSestavy &report);

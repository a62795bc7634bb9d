#pragma once
// Rebuilding the stock of one card from its journal, on the data module's assortment
// `ffSortiment`, stock variants `ffSklad` and stock journal `ffDenik`.

#include <QString>

class TData;

// Recomputes the stock of a card from the journal: each variant "000"–"999" gets
// SKL_POC plus its entries' DEN_KUS (0 for a card that keeps no stock), the card the
// sum. The journal is only read. True when the card exists and every variant and the
// card were written; a variant held elsewhere keeps its stock (result false). The
// three tables are given back as they were.
bool RekonstrukceKarty(TData &d, const QString &card);

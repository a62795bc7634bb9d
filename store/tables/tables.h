#pragma once
// The definitions of the tables of the shared database: fields in table order with
// their display labels and formats, and the named indexes the program selects.
// Every definition is built once and lives for the whole run.

#include "store/schema.h"

namespace store::tables {

// Source documents: headers (POD + firm) and items (POP + firm).
const TableDef &podklHlav();
const TableDef &podklPol();

// Master data: assortment, stock variants, suppliers, counters (per firm); price lists
// and the owner's data (shared).
const TableDef &sortiment();
const TableDef &sklad();
const TableDef &dodavatele();
const TableDef &ciselnik();
const TableDef &ceniky();
const TableDef &vlastnik();

// Stock ledger: receipts as the data module's component `ffDodavky` sees them (without
// HLA_TYP), receipts with all their fields (the stored table and the reports' component
// `ffSesDod`), the stock journal and the invoice discounts.
const TableDef &dodavky();
const TableDef &dodavkyFull();
const TableDef &denik();
const TableDef &faktSlevy();

// System tables: users (shared) and the lock records (one table for all firms).
const TableDef &uzivatele();
const TableDef &semafor();

// In-memory work tables: the content of one document and the rows of the deliveries
// overview.
const TableDef &dokladObsah();
const TableDef &sesDodMem();

// The 76 tables of the shared database, in catalogue order: 50 per-firm tables, 25 shared
// tables, then the lock table. Tables this system does not use have no fields (and no
// component in the data module).
const QVector<const TableDef *> &catalogue();
// The catalogue entry of a component ("ffSortiment"); nullptr for an unknown name.
const TableDef *findComponent(const QString &component);
// The tables a database needs for this system, each with every stored column and its
// indexes: the catalogue tables that have fields, the receipts with all their fields.
QVector<const TableDef *> schemaTables();

} // namespace store::tables

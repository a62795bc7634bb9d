#pragma once
// The demo shop as plain data, generated before anything is written, so that stock,
// journal and totals agree by construction.

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>
#include <array>

struct DemoVariant {
    QString code;        // SKL_IND
    double price = 0;    // SKL_SNC, stock price of one unit
    double opening = 0;  // SKL_POC
    double stock = 0;    // SKL_STA after every receipt
};

struct DemoCard {
    QString number;      // SOR_KAV
    QString name;
    int group = 0;       // index into demoGroups()
    std::array<double, 5> prices{};  // SOR_PC1..SOR_PC5, with VAT
    double basePrice = 0;            // purchase price of one unit
    QString alias, supplierCode, makerCode, ean, maker, subgroup, note;
    double weight = 0, minimum = 0, maxDiscount = 0, blocked = 0;
    int package = 1;
    bool withdrawn = false;
    QDate lastMove;
    QVector<DemoVariant> variants;   // empty for a card that keeps no stock
    double stock() const;            // the sum of the variants' stock
};

struct DemoEntry {
    int card = 0;
    int variant = -1;    // -1: a card without stock keeping
    double quantity = 0;
    double saleValue = 0;    // DEN_HPC: sale price without VAT × quantity
    double stockValue = 0;   // DEN_HNC
    double stockAfter = 0;   // DEN_ZAS
    QTime time;
};

struct DemoReceipt {
    QString number;
    QString invoice;
    QDate date;
    int supplier = 0;
    QVector<DemoEntry> entries;
    double stockTotal = 0;   // HLA_NCA
    double saleTotal = 0;    // HLA_PCA
    double invoiced = 0;     // HLA_FAC
};

struct DemoItem {
    int card = 0;
    double delivered = 0;    // POP_CKU, delivery units
    double unitPrice = 0;    // POP_CNC, in the document's currency
    double markup = 0;       // POP_PRI
    double perPackage = 1;   // POP_BAL
    double packages = 0;     // POP_KUS
    double stockPrice = 0;   // POP_NCS
};

struct DemoDocument {
    QString number;
    QString invoice;
    QString currency;
    double rate = 1;
    QDate date;
    int supplier = 0;
    QVector<DemoItem> items;
    double foreignTotal = 0; // HLA_EUR
    double stockTotal = 0;   // HLA_NCA
};

struct DemoSupplierIds {
    QString code, ico, dic;
};

struct DemoModel {
    QVector<DemoSupplierIds> suppliers;  // parallel to demoSuppliers()
    QVector<DemoCard> cards;
    QVector<DemoReceipt> receipts;       // in date order, numbered in that order
    QVector<DemoDocument> documents;     // in date order, numbered in that order
    int entryCount() const;
};

// The demo shop with all dates up to `today`; the same for the same date.
DemoModel BuildDemoModel(const QDate &today);

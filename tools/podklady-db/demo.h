#pragma once
// The demo firm of podklady-db init --demo, and the records every new firm starts with.

#include <QDate>
#include <QString>

namespace store {
class Database;
}

struct DemoSummary {
    int suppliers = 0;
    int cards = 0;
    int variants = 0;
    int documents = 0;
    int items = 0;
    int receipts = 0;
    int entries = 0;
    // Shared tables are filled only when they are empty (another firm may use them).
    int users = 0;
    int priceLists = 0;
    bool owner = false;
    QString operatorLogin;   // the login that starts the program without a dialog; empty: none
};

// Writes a demo shop into the firm's tables of `db`: the counter record, suppliers,
// cards with variants, prices and VAT rates 22, 5 and 0, source documents with items
// (header totals are the sums of the items), receipts with their stock journal (stock of
// every variant = start of year + its movements; the newest entry carries that stock;
// a card's stock = the sum of its variants'). The shared tables (users, price lists,
// owner) get their demo rows only when they are empty; the users include `logonName`
// in capitals cut to 10 characters, unless the code page cannot hold it.
// Requires: the firm's tables exist and are empty. Dates lie up to `today`. The content
// is the same on every run for the same date. Throws the store's errors; run it inside
// a transaction so that a failure leaves nothing behind.
DemoSummary LoadDemo(store::Database &db, const QString &firmNumber, const QString &logonName,
                     const QDate &today);

// The numbers a firm's counter record starts after: journal entries, suppliers,
// receipts and source documents given out so far.
struct CounterStart {
    qint64 entries = 0;
    int suppliers = 0;
    int receipts = 0;
    int documents = 0;
};

// Writes the firm's counter record (one record holding the last number of each kind).
// Requires: the firm's counter table exists and is empty. Throws the store's errors.
void WriteCounterRow(store::Database &db, const QString &firmNumber, const CounterStart &start);

// The owner's own data, for printouts.
struct OwnerFields {
    QString name;
    QString street;
    QString town;
};

// Appends the owner's record of the firm to the shared owner table (VLA_JED = firm).
// Throws the store's errors.
void WriteOwner(store::Database &db, const QString &firmNumber, const OwnerFields &owner);

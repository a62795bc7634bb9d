#pragma once
// The fixed content the demo firm is generated from: suppliers, articles, users.

#include <QString>
#include <QStringList>
#include <QVector>

struct DemoSupplier {
    QString name;        // DOD_FIR
    QString street;
    QString town;
    QString postCode;
    QString country;
    QString contact;
    bool foreign;        // invoices in EUR
};

// One kind of article; every attribute makes one card ("Kladivo zámečnické 500 g").
struct DemoArticle {
    QString name;
    QStringList attributes;
};

struct DemoGroup {
    QString code;        // SOR_SKU
    int vatRate;         // SOR_DAN
    QString unit;        // SOR_MJE
    double priceFrom;    // purchase price range of one unit, in crowns
    double priceTo;
    bool stock;          // SOR_SKL: services keep no stock
    QString edition;     // a second range of the same articles ("Profi"); empty: none
    QVector<DemoArticle> articles;
};

struct DemoUser {
    QString code, login, password, initials, group, fullName, phone, email;
};

const QVector<DemoSupplier> &demoSuppliers();
const QVector<DemoGroup> &demoGroups();
// The users besides the one who runs the tool (whose login is filled in by the demo).
const QVector<DemoUser> &demoUsers();
// The user record of the person running the tool, with an empty login.
DemoUser demoOperator();

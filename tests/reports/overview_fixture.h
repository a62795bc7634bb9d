#pragma once
// The receipts of the deliveries overview's tests: three receipts in the period
// 05.03.2004–07.03.2004 of two suppliers (one with quotes in its name, one with Czech
// letters), one day before and one after it, with their journal lines, and the shop's
// name in the owner table. Written through a data module of the firm.

#include "firm_tables.h"

#include "store/table.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace overviewtest {

// The process works in a temporary directory of the test while this lives (the overview
// writes its text file into the current directory), and in its own directory again after.
class InTemporaryDirectory {
public:
    InTemporaryDirectory() : m_previous(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
    ~InTemporaryDirectory() { QDir::setCurrent(m_previous); }
    InTemporaryDirectory(const InTemporaryDirectory &) = delete;
    InTemporaryDirectory &operator=(const InTemporaryDirectory &) = delete;

    QString filePath(const QString &name) const { return dir.filePath(name); }
    QString path() const { return dir.path(); }
    bool isValid() const { return dir.isValid(); }

private:
    QTemporaryDir dir;
    QString m_previous;
};

inline const QDate kFrom{2004, 3, 5};
inline const QDate kTo{2004, 3, 7};
inline const QString kShop = QStringLiteral("Prodejna Říčany");
inline const QString kBeta = QStringLiteral("Beta \"Brno\" s.r.o.");
inline const QString kAlfa = QStringLiteral("Alfa Žluťoučký kůň");

// The whole content of a file the test wrote; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void appendReceipt(store::Table &receipts, const char *number, const QDate &day, const char *type,
                          const char *invoice, const char *supplier, const QString &name, double invoiced)
{
    using namespace store::tables::column::ffSesDod;
    AppendRow(receipts, {{HLA_DO1, number}, {HLA_DAT, day}, {HLA_TYP, type}, {HLA_DO2, invoice},
                         {HLA_ODB, supplier}, {HLA_NAC, name}, {HLA_FAC, invoiced}});
}

inline void appendLine(TData &d, const char *number, const char *card, double quantity, double sale,
                       double purchase, double rate)
{
    AppendRow(d.ffDenik, {{d.ffDenikDEN_DOK, number}, {d.ffDenikDEN_KAV, card}, {d.ffDenikDEN_IND, "000"},
                          {d.ffDenikDEN_OPE, "001"},
                          {d.ffDenikDEN_KUS, quantity}, {d.ffDenikDEN_HPC, sale},
                          {d.ffDenikDEN_HNC, purchase}, {d.ffDenikDEN_DAN, rate}});
}

// Receipts (number, date, type, supplier's document, supplier, invoiced; value):
//   101  05.03.2004  "P1X"  "F-77"  000002 Beta  1234.5  NC 1234.5 at 22 % and 5 %
//   102  07.03.2004  "PR"   ""      000001 Alfa  100     NC 80 at 22 %
//   103  06.03.2004  ""     "X9"    000002 Beta  50      NC 40 at 0 %
// and 100 on 04.03.2004, 104 on 08.03.2004 outside the period. Price mode 1, rates 22/5/0.
inline void writeReceipts(TData &d, store::Table &receipts)
{
    d.PriceMode = 1;
    d.VatRateHigh = 22;
    d.VatRateLow = 5;
    d.VatRateZero = 0;
    AppendRow(d.ffVlastnik, {{d.ffVlastnikVLA_KOD, "000001"}, {d.ffVlastnikVLA_NAC, kShop}});
    appendReceipt(receipts, "0000000100", kFrom.addDays(-1), "P", "", "000001", kAlfa, 10);
    appendReceipt(receipts, "0000000101", kFrom, "P1X", "F-77", "000002", kBeta, 1234.5);
    appendReceipt(receipts, "0000000102", kTo, "PR", "", "000001", kAlfa, 100);
    appendReceipt(receipts, "0000000103", kFrom.addDays(1), "", "X9", "000002", kBeta, 50);
    appendReceipt(receipts, "0000000104", kTo.addDays(1), "P", "", "000002", kBeta, 20);
    appendLine(d, "0000000100", "000001", 1, 12, 10, 22);
    appendLine(d, "0000000101", "000001", 10, 1200, 1000, 22);
    appendLine(d, "0000000101", "000002", 4, 300, 234.5, 5);
    appendLine(d, "0000000102", "000001", 2, 100, 80, 22);
    appendLine(d, "0000000103", "000003", 1, 45, 40, 0);
    appendLine(d, "0000000104", "000001", 1, 24, 20, 22);
}

// The text file of the period: the heading line and the line of each receipt, in
// Windows-1250 ("Alfa Žluťoučký kůň" in the line of 102).
inline const QByteArray kHeading =
    "\"Vystaveno\",\"Doklad\",\"TypDod\",\"FakDod\",\"KodDod\",\"Nazev\",\"CelFac\",\"CelkemNC\",\"CelkemPC\","
    "\"Zaklad22\",\"Zaklad05\",\"Zaklad00\",\"Dan22\",\"Dan05\",\"HalVyr\",\r\n";
inline const QByteArray kLine101 = "\"05/03/2004\",\"0000000101\",\"P1\",\"F-77\",\"000002\",\"Beta \"\"Brno\"\" s.r.o.\","
                            "\"1234.5\",\"1234.5\",\"1779\",\"1000\",\"234.5\",\"0\",\"220\",\"11.725\",\"0\",\r\n";
// "Alfa Žluťoučký kůň" in Windows-1250.
inline const QByteArray kLine102 = "\"07/03/2004\",\"0000000102\",\"PR\",,\"000001\",\"Alfa \x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\","
                            "\"100\",\"80\",\"122\",\"80\",\"0\",\"0\",\"17.6\",\"0\",\"0\",\r\n";
inline const QByteArray kLine103 = "\"06/03/2004\",\"0000000103\",,\"X9\",\"000002\",\"Beta \"\"Brno\"\" s.r.o.\","
                            "\"50\",\"40\",\"45\",\"0\",\"0\",\"40\",\"0\",\"0\",\"0\",\r\n";

} // namespace overviewtest

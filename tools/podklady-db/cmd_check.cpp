// podklady-db check [--repair] [--ini PATH]: compares every card with the stock journal
// (a variant's stock is its start-of-year stock plus its journal, a card's stock the sum
// of its variants) and every receipt with its lines in the journal (its totals at stock
// and at sale prices, a receipt without lines, lines without their receipt), and lists
// each difference; it changes nothing. With --repair it rebuilds exactly the cards that
// differ, as the program does before a movement, sets the totals of each receipt that
// differs from its lines to theirs, prints every stock and total it changed, and checks
// again. It creates and deletes nothing: a receipt without lines and lines without their
// receipt stay listed, for a person to find out which side is wrong.
// Exit codes: 0 everything agrees (after a repair: the repair left nothing to report),
// 1 differences remain or the database failed, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "import/stock_check.h"
#include "import/stock_rebuild.h"
#include "store/tdata.h"

#include <QSet>

namespace {

QString place(const StockDifference &d)
{
    return d.variant.isEmpty() ? d.card : d.card + QLatin1Char('/') + d.variant;
}

void printDifferences(const QVector<StockDifference> &differences)
{
    for (const StockDifference &d : differences) {
        const QString should = d.variant.isEmpty() ? QStringLiteral("součet variant") : QStringLiteral("podle deníku");
        printOut(QStringLiteral("%1\tzásoba %2\t%3 %4")
                     .arg(place(d), formatNumber(d.stored), should, formatNumber(d.expected)));
    }
}

// Rebuilds every card that differs and prints each stock the rebuild changed, old and new.
void repair(TData &data, const QVector<StockDifference> &differences)
{
    QSet<QString> done;
    for (const StockDifference &d : differences) {
        if (done.contains(d.card))
            continue;
        done.insert(d.card);
        const QVector<StockDifference> before = CheckCard(data, d.card, true);
        const bool rebuilt = RekonstrukceKarty(data, d.card);
        const QVector<StockDifference> after = CheckCard(data, d.card, true);
        for (const StockDifference &was : before) {
            for (const StockDifference &is : after) {
                if (is.variant == was.variant && is.stored != was.stored)
                    printOut(QStringLiteral("%1\topraveno %2 -> %3")
                                 .arg(place(was), formatNumber(was.stored), formatNumber(is.stored)));
            }
        }
        if (!rebuilt)
            printErr(QStringLiteral("Karta %1 nebyla přepočtena celá (drží ji jiná stanice)").arg(d.card));
    }
}

void printReceiptDifferences(const QVector<ReceiptDifference> &differences)
{
    for (const ReceiptDifference &d : differences) {
        switch (d.kind) {
        case ReceiptDifference::Kind::Totals:
            printOut(QStringLiteral("Příjemka %1\tcelkem v NC %2\tpodle deníku %3\tcelkem v PC %4\tpodle deníku %5")
                         .arg(d.receipt, formatNumber(d.storedStock), formatNumber(d.postedStock),
                              formatNumber(d.storedSale), formatNumber(d.postedSale)));
            break;
        case ReceiptDifference::Kind::NoLines:
            printOut(QStringLiteral("Příjemka %1\tnemá v deníku žádný řádek").arg(d.receipt));
            break;
        case ReceiptDifference::Kind::NoReceipt:
            printOut(QStringLiteral("Příjemka %1\tneexistuje, deník má %2 jejích řádků\tv NC %3\tv PC %4")
                         .arg(d.receipt)
                         .arg(d.lines)
                         .arg(formatNumber(d.postedStock), formatNumber(d.postedSale)));
            break;
        }
    }
}

// Sets the totals of the receipts that differ from their lines and prints each change,
// and each receipt that could not be written.
void repairReceipts(TData &data, const QVector<ReceiptDifference> &differences)
{
    QStringList left;
    for (const ReceiptDifference &d : RepairReceipts(data, differences, left))
        printOut(QStringLiteral("Příjemka %1\topraveno celkem v NC %2 -> %3\tcelkem v PC %4 -> %5")
                     .arg(d.receipt, formatNumber(d.storedStock), formatNumber(d.postedStock),
                          formatNumber(d.storedSale), formatNumber(d.postedSale)));
    for (const QString &receipt : std::as_const(left))
        printErr(QStringLiteral("Příjemka %1 nebyla opravena (drží ji jiná stanice)").arg(receipt));
}

} // namespace

int runCheck(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini;
    if (!takeIniOption(args, QStringLiteral("check"), ini))
        return 64;
    const bool repairing = args.removeAll(QStringLiteral("--repair")) > 0;
    if (!args.isEmpty()) {
        printErr(QStringLiteral("usage: podklady-db check [--repair] [--ini PATH/Kramora.ini]"));
        return 64;
    }
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    try {
        const QVector<StockDifference> differences = CheckStock(*data);
        const QVector<ReceiptDifference> receipts = CheckReceipts(*data);
        printDifferences(differences);
        printReceiptDifferences(receipts);
        if (differences.isEmpty() && receipts.isEmpty()) {
            printOut(checkedSummary(*data));
            return 0;
        }
        if (!repairing)
            return 1;
        repair(*data, differences);
        repairReceipts(*data, receipts);
        const QVector<StockDifference> left = CheckStock(*data);
        const QVector<ReceiptDifference> receiptsLeft = CheckReceipts(*data);
        if (!left.isEmpty() || !receiptsLeft.isEmpty()) {
            printErr(QStringLiteral("Po opravě zůstávají rozdíly:"));
            printDifferences(left);
            printReceiptDifferences(receiptsLeft);
            return 1;
        }
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}

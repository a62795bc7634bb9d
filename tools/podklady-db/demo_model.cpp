#include "demo_model.h"

#include "demo_data.h"

#include "core/textutil.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

const int kCards = 500;
const int kReceipts = 80;
const int kDocuments = 25;
const int kReceiptDays = 120;
const int kDocumentDays = 60;

// A fixed seed: the demo is the same on every run.
class Random {
public:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_gen); }
    double real(double low, double high) { return std::uniform_real_distribution<double>(low, high)(m_gen); }
    bool chance(double p) { return real(0, 1) < p; }

private:
    std::mt19937 m_gen{20040501};
};

double round2(double v)
{
    return std::round(v * 100) / 100;
}

QString digits(Random &rnd, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rnd.between(0, 9));
    return s;
}

// EAN-13 with its check digit; 859 is the Czech prefix.
QString ean13(Random &rnd)
{
    const QString body = QStringLiteral("859") + digits(rnd, 9);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += body[i].digitValue() * (i % 2 ? 3 : 1);
    return body + QChar(u'0' + (10 - sum % 10) % 10);
}

// A company registration number (IČO) with a valid check digit.
QString ico(Random &rnd)
{
    for (;;) {
        const QString body = digits(rnd, 7);
        int sum = 0;
        for (int i = 0; i < 7; ++i)
            sum += body[i].digitValue() * (8 - i);
        const int check = (11 - sum % 11) % 10;
        if (body[0] != u'0')
            return body + QChar(u'0' + check);
    }
}

// The card names: every article with every attribute, then the second range of each
// group where the name still fits the 30 characters of the field, up to kCards.
QVector<std::pair<int, QString>> cardNames()
{
    QVector<std::pair<int, QString>> names;
    const auto &groups = demoGroups();
    for (int pass = 0; pass < 2; ++pass) {
        for (int g = 0; g < groups.size(); ++g) {
            if (pass == 1 && groups[g].edition.isEmpty())
                continue;
            for (const DemoArticle &a : groups[g].articles) {
                for (const QString &attr : a.attributes) {
                    QString name = a.name + u' ' + attr;
                    if (pass == 1)
                        name += u' ' + groups[g].edition;
                    if (name.size() <= 30 && names.size() < kCards)
                        names.append({g, name});
                }
            }
        }
    }
    return names;
}

DemoCard makeCard(Random &rnd, int number, int group, const QString &name)
{
    const DemoGroup &g = demoGroups()[group];
    DemoCard c;
    c.number = ZeroPad(QString::number(number), 6);
    c.name = name;
    c.group = group;
    c.basePrice = round2(rnd.real(g.priceFrom, g.priceTo));
    // Sale prices include VAT and end in ,90; the lower levels are discounts on it.
    const double withVat = c.basePrice * rnd.real(1.25, 1.6) * (1 + g.vatRate / 100.0);
    c.prices[0] = std::ceil(withVat) - 0.10;
    const double levels[] = {1, 0.97, 0.95, 0.92, 0.85};
    for (int i = 1; i < 5; ++i)
        c.prices[i] = round2(c.prices[0] * levels[i]);
    c.alias = name.section(u' ', 0, 0).left(15);
    c.supplierCode = QStringLiteral("A") + digits(rnd, 6);
    c.makerCode = QStringLiteral("V-") + digits(rnd, 5);
    c.ean = g.stock ? ean13(rnd) : QString();
    c.maker = ZeroPad(QString::number(rnd.between(1, 20)), 3);
    c.subgroup = ZeroPad(QString::number(rnd.between(1, 5)), 3);
    c.weight = g.stock ? std::round(rnd.real(0.05, 5.0) * 1000) / 1000 : 0;
    c.minimum = g.stock ? rnd.between(2, 10) : 0;
    c.maxDiscount = rnd.between(1, 3) * 5;
    c.package = rnd.chance(0.8) ? 1 : (rnd.chance(0.5) ? 6 : 10);
    c.withdrawn = rnd.chance(0.02);
    if (rnd.chance(0.05))
        c.note = rnd.chance(0.5) ? QStringLiteral("Novinka") : QStringLiteral("Doprodej");
    if (g.stock) {
        const int variants = rnd.chance(0.7) ? 1 : (rnd.chance(0.67) ? 2 : 3);
        for (int v = 0; v < variants; ++v) {
            DemoVariant var;
            var.code = ZeroPad(QString::number(v), 3);
            var.price = v == 0 ? c.basePrice : round2(c.basePrice * rnd.real(0.95, 1.05));
            var.opening = rnd.between(0, 40);
            var.stock = var.opening;
            c.variants.append(var);
        }
    }
    return c;
}

// Sorted random days between `days` ago and today, today included at least once.
QVector<QDate> spreadDates(Random &rnd, const QDate &today, int count, int days)
{
    QVector<QDate> dates;
    for (int i = 0; i < count; ++i)
        dates.append(today.addDays(-rnd.between(0, days - 1)));
    dates.last() = today;
    std::sort(dates.begin(), dates.end());
    return dates;
}

DemoReceipt makeReceipt(Random &rnd, DemoModel &m, int number, const QDate &date)
{
    DemoReceipt r;
    r.number = ZeroPad(QString::number(number), 10);
    r.date = date;
    r.supplier = rnd.between(0, m.suppliers.size() - 1);
    r.invoice = QStringLiteral("FV") + digits(rnd, 8);
    QTime time(rnd.between(7, 16), rnd.between(0, 59), rnd.between(0, 59));
    const int lines = rnd.between(2, 8);
    QVector<int> used;
    while (r.entries.size() < lines) {
        const int ci = rnd.between(0, m.cards.size() - 1);
        DemoCard &card = m.cards[ci];
        // Services are delivered now and then; withdrawn cards are not bought.
        if (card.withdrawn || used.contains(ci) || (card.variants.isEmpty() && !rnd.chance(0.1)))
            continue;
        used.append(ci);
        const int vatRate = demoGroups()[card.group].vatRate;
        DemoEntry e;
        e.card = ci;
        // Dear articles come in ones and twos, cheap ones by the dozen.
        e.quantity = rnd.between(1, std::clamp(int(3000 / std::max(card.basePrice, 1.0)), 2, 40));
        e.saleValue = round2(card.prices[0] / (1 + vatRate / 100.0) * e.quantity);
        double unitStockPrice = 0;
        if (!card.variants.isEmpty()) {
            e.variant = rnd.between(0, card.variants.size() - 1);
            DemoVariant &v = card.variants[e.variant];
            unitStockPrice = v.price;
            v.stock += e.quantity;
            e.stockAfter = v.stock;
        }
        e.stockValue = round2(unitStockPrice * e.quantity);
        time = time.addSecs(rnd.between(5, 90));
        e.time = time;
        card.lastMove = date;
        r.stockTotal += unitStockPrice * e.quantity;
        r.saleTotal += card.prices[0] * e.quantity;
        r.entries.append(e);
    }
    r.stockTotal = round2(r.stockTotal);
    r.saleTotal = round2(r.saleTotal);
    // Most suppliers invoice exactly the stock value; some add a small difference.
    r.invoiced = rnd.chance(0.85) ? r.stockTotal : round2(r.stockTotal + rnd.real(-50, 150));
    return r;
}

DemoDocument makeDocument(Random &rnd, DemoModel &m, int number, const QDate &date)
{
    DemoDocument d;
    d.number = ZeroPad(QString::number(number), 10);
    d.date = date;
    d.supplier = rnd.between(0, m.suppliers.size() - 1);
    d.invoice = QStringLiteral("FV") + digits(rnd, 8);
    if (demoSuppliers()[d.supplier].foreign) {
        d.currency = QStringLiteral("EUR");
        d.rate = std::round(rnd.real(24.5, 25.8) * 1000) / 1000;
    } else {
        d.currency = QStringLiteral("CZK");
        d.rate = 1;
    }
    const int items = rnd.between(1, 8);
    while (d.items.size() < items) {
        const int ci = rnd.between(0, m.cards.size() - 1);
        const DemoCard &card = m.cards[ci];
        if (card.variants.isEmpty() || card.withdrawn)
            continue;
        DemoItem it;
        it.card = ci;
        it.perPackage = card.package;
        it.packages = rnd.between(1, 20);
        it.delivered = it.packages * it.perPackage;
        it.unitPrice = round2(card.basePrice / it.perPackage / d.rate * rnd.real(0.9, 1.0));
        const double markups[] = {0, 0, 2, 5, 8};
        it.markup = markups[rnd.between(0, 4)];
        it.stockPrice = (d.rate * it.unitPrice + d.rate * it.unitPrice / 100 * it.markup) * it.perPackage;
        d.foreignTotal += it.delivered * it.unitPrice;
        d.stockTotal += it.stockPrice * it.packages;
        d.items.append(it);
    }
    return d;
}

} // namespace

double DemoCard::stock() const
{
    double sum = 0;
    for (const DemoVariant &v : variants)
        sum += v.stock;
    return sum;
}

int DemoModel::entryCount() const
{
    int n = 0;
    for (const DemoReceipt &r : receipts)
        n += r.entries.size();
    return n;
}

DemoModel BuildDemoModel(const QDate &today)
{
    Random rnd;
    DemoModel m;
    for (int i = 0; i < demoSuppliers().size(); ++i) {
        DemoSupplierIds ids;
        ids.code = ZeroPad(QString::number(i + 1), 6);
        ids.ico = ico(rnd);
        const QString country = demoSuppliers()[i].country;
        if (country == QLatin1String("Rakousko"))
            ids.dic = QStringLiteral("ATU") + digits(rnd, 8);
        else if (country == QLatin1String("Německo"))
            ids.dic = QStringLiteral("DE") + digits(rnd, 9);
        else
            ids.dic = QStringLiteral("CZ") + ids.ico;
        m.suppliers.append(ids);
    }

    const auto names = cardNames();
    for (int i = 0; i < names.size(); ++i)
        m.cards.append(makeCard(rnd, i + 1, names[i].first, names[i].second));

    const QVector<QDate> receiptDates = spreadDates(rnd, today, kReceipts, kReceiptDays);
    for (int i = 0; i < receiptDates.size(); ++i)
        m.receipts.append(makeReceipt(rnd, m, i + 1, receiptDates[i]));

    const QVector<QDate> documentDates = spreadDates(rnd, today, kDocuments, kDocumentDays);
    for (int i = 0; i < documentDates.size(); ++i)
        m.documents.append(makeDocument(rnd, m, i + 1, documentDates[i]));

    // A few cards have part of their stock reserved.
    for (DemoCard &c : m.cards)
        if (c.stock() >= 2 && rnd.chance(0.05))
            c.blocked = rnd.between(1, int(std::min(5.0, c.stock())));
    return m;
}

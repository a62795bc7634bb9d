#include "podklad_item.h"

#include "core/errors.h"
#include "core/quietly.h"
#include "store/counter.h"
#include "store/tdata.h"
#include "store/transaction.h"

#include <QDate>
#include <cmath>

QString PodklPolZeroPackageText() { return QStringLiteral("Počet DB v Obch.Bal nesmí být 0 !!!"); }

QString PodklPolOutOfRangeText() { return QStringLiteral("Hodnota položky je mimo rozsah čísel"); }

void DerivePodklPol(TData &d, double cku, double cnc, double pri, double bal)
{
    if (bal == 0)
        throw AppError(PodklPolZeroPackageText());
    const double kur = d.ffPodklHlavHLA_KUR.AsFloat();
    d.ffPodklPolPOP_KUS.SetAsFloat(cku / bal);
    d.ffPodklPolPOP_NCS.SetAsFloat((kur * cnc + kur * cnc / 100 * pri) * bal);
}

bool PodklPolWholePackages(double kus)
{
    return std::abs(kus - std::trunc(kus)) <= 0.01;
}

namespace {

struct ItemTotals {
    double ccc = 0;
    double ncc = 0;
};

// The totals POP_CCC and POP_NCC of the document's items as stored, without the item
// `except`; the items table stays where it stands.
ItemTotals storedItemTotals(TData &d, const store::Bookmark &except)
{
    store::Table &items = d.ffPodklPol;
    ItemTotals totals;
    store::Bookmark from;
    for (;;) {
        const QVector<store::Record> rows = items.ReadRows(from, 200, true);
        for (const store::Record &r : rows) {
            if (r.id() == except.id)
                continue;
            totals.ccc += r.AsFloat(d.ffPodklPolPOP_CCC);
            totals.ncc += r.AsFloat(d.ffPodklPolPOP_NCC);
        }
        if (rows.size() < 200)
            return totals;
        from = store::Bookmark{rows.back().id()};
    }
}

// Writes a change of the current item (`write`: its Post or its Delete) and the header
// with the totals it makes, HLA_EUR + changeCcc and HLA_NCA + changeNcc, in one
// transaction (the caller's, when one is open): both are kept or neither. The header
// stays held from before the item is written until after the commit, and stays in
// editing. Totals that would not be finite are counted again from the other items plus
// (keepCcc, keepNcc), the item's values after the change; still not finite, they are
// refused before anything is written. On a failure the header's buffer gets back the
// totals it had, and the item list, which may show an item that was rolled back, is read
// again.
template <typename Write>
void changeTotals(TData &d, double changeCcc, double changeNcc, double keepCcc, double keepNcc, Write write)
{
    store::Table &header = d.ffPodklHlav;
    store::Table &items = d.ffPodklPol;
    const double eurBefore = d.ffPodklHlavHLA_EUR.AsFloat();
    const double ncaBefore = d.ffPodklHlavHLA_NCA.AsFloat();
    double eur = eurBefore + changeCcc;
    double nca = ncaBefore + changeNcc;
    if (!std::isfinite(eur) || !std::isfinite(nca)) {
        const ItemTotals others = storedItemTotals(d, items.GetBookmark());
        eur = others.ccc + keepCcc;
        nca = others.ncc + keepNcc;
    }
    if (!std::isfinite(eur) || !std::isfinite(nca))
        throw ConversionError(PodklPolOutOfRangeText());
    try {
        store::Transaction transaction(d.Database, store::Transaction::Caller::MayHaveOne);
        write();
        d.ffPodklHlavHLA_EUR.SetAsFloat(eur);
        d.ffPodklHlavHLA_NCA.SetAsFloat(nca);
        header.PostAndEdit();
        transaction.commit();
    } catch (...) {
        Quietly([&] {
            if (header.State() == store::DataSetState::Edit) {
                d.ffPodklHlavHLA_EUR.SetAsFloat(eurBefore);
                d.ffPodklHlavHLA_NCA.SetAsFloat(ncaBefore);
            }
        });
        Quietly([&] {
            if (items.Active() && items.State() == store::DataSetState::Browse)
                items.First();
        });
        throw;
    }
}

} // namespace

void PostPodklPol(TData &d, double oldCcc, double oldNcc)
{
    const double ccc = d.ffPodklPolPOP_CCC.AsFloat();
    const double ncc = d.ffPodklPolPOP_NCC.AsFloat();
    changeTotals(d, ccc - oldCcc, ncc - oldNcc, ccc, ncc, [&] { d.ffPodklPol.Post(); });
}

void DeletePodklPol(TData &d)
{
    changeTotals(d, -d.ffPodklPolPOP_CCC.AsFloat(), -d.ffPodklPolPOP_NCC.AsFloat(), 0, 0,
                 [&] { d.ffPodklPol.Delete(); });
}

QString NumberNewPodklad(TData &d)
{
    store::Table &header = d.ffPodklHlav;
    d.ffCiselnik.Open();
    const QString number = TakeTextCounter(d.ffCiselnik, d.ffCiselnikCIS_POD);
    // The counter is written before the header: a number the counter has not recorded
    // would be given out again to the next document.
    d.ffCiselnik.Post();
    d.ffPodklHlavHLA_DO1.SetAsString(number);
    d.ffPodklHlavHLA_DAT.SetAsDate(QDate::currentDate());
    header.PostAndEdit();
    d.ffCiselnik.Close();
    return number;
}

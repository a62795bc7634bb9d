#include "cards.h"

#include "store/cursor.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

bool IsEanCode(const QString &text)
{
    if (text.size() != 8 && text.size() != 13)
        return false;
    int sum = 0;
    // From the right, the digits before the check digit weigh 3, 1, 3, ...
    for (int i = text.size() - 2, weight = 3; i >= 0; --i, weight = 4 - weight) {
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return false;
        sum += (text[i].unicode() - '0') * weight;
    }
    const QChar check = text.back();
    return check.unicode() >= '0' && check.unicode() <= '9' && (10 - sum % 10) % 10 == check.unicode() - '0';
}

QVector<CardHit> ActiveCardsByKey(TData &d, const QString &index, const QString &value)
{
    QVector<CardHit> hits;
    store::Cursor cards(d.ffSortiment, index);
    const store::IndexDef *def = cards.Definition().index(index);
    const int size = cards.FieldByName(def->fields.first().field).def().size;
    if (value.isEmpty() || value.size() > size)
        return hits;
    const store::Field &key = cards.FieldByName(def->fields.first().field);
    const QVector<store::Record> rows =
        cards.ReadKeys({value}, {key, d.ffSortimentSOR_KAV, d.ffSortimentSOR_NAC, d.ffSortimentSOR_OLD});
    for (const store::Record &r : rows)
        if (r.AsString(key) == value && !r.AsBoolean(d.ffSortimentSOR_OLD))
            hits << CardHit{r.AsString(d.ffSortimentSOR_KAV), r.AsString(d.ffSortimentSOR_NAC)};
    return hits;
}

bool GotoCardByEan(TData &d, const QString &code)
{
    if (!IsEanCode(code))
        return false;
    const QVector<CardHit> hits = ActiveCardsByKey(d, ix::ffSortiment::EAN, code);
    if (hits.size() != 1)
        return false;
    store::Table &cards = d.ffSortiment;
    cards.SetIndexName(ix::ffSortiment::KAV);
    return cards.FindKey({hits.first().card});
}

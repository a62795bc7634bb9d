// Reads of many rows at once beside the cursor: the pages of a grid and the records of
// many keys. The current record does not move.

#include "table.h"

#include "store/internal/table_impl.h"
#include "row_recycling.h"

namespace store {

QVariantList Table::Impl::keyOfId(qint64 id)
{
    const quint64 now = engine().writeGeneration();
    if (generation == now)
        for (const Record &r : std::as_const(page))
            if (r.id() == id)
                return keyOf(r);
    if (edgeGeneration == now)
        for (const EdgeKey &e : std::as_const(edgeKeys))
            if (e.id == id)
                return e.key;
    const std::optional<Record> rec = fetchById(id);
    if (!rec)
        throw error(QStringLiteral("záznam již neexistuje"));
    return keyOf(*rec);
}

void Table::Impl::rememberEdges(const QVector<Record> &rows)
{
    const quint64 now = engine().writeGeneration();
    if (edgeGeneration != now) {
        edgeKeys.clear();
        edgeGeneration = now;
    }
    if (rows.isEmpty())
        return;
    for (const Record *r : {&rows.first(), &rows.last()}) {
        if (edgeKeys.size() >= kEdgeKeys)
            edgeKeys.removeFirst();
        edgeKeys.append({r->id(), keyOf(*r)});
    }
}

QVector<Record> Table::ReadRows(const Bookmark &from, int count, bool forward)
{
    d->requireActive();
    if (count <= 0)
        return {};
    std::optional<KeySeek> seek;
    if (from.isValid())
        seek = KeySeek{d->keyOfId(from.id), false};
    QVector<Record> rows = d->fetch(d->keyset().rows(seek ? &*seek : nullptr, forward, count), !forward);
    d->rememberEdges(rows);
    // Once the caller lets them go, the next read fills these records again.
    d->spare = rows;
    return rows;
}

void RecycleRows(Table &table, QVector<Record> rows)
{
    // They take the place of the spare records, which are mostly the rows the last read
    // handed out (of no use while the caller shows them).
    table.d->spare = std::move(rows);
}

QVector<Record> Table::ReadKeys(const QVariantList &values, const QVector<FieldKey> &fields)
{
    d->requireActive();
    if (values.isEmpty())
        return {};
    if (values.size() > kMaxReadKeys)
        throw d->error(QStringLiteral("najednou lze číst nejvýš %1 klíčů").arg(kMaxReadKeys));
    QVariantList keys;
    keys.reserve(values.size());
    for (const QVariant &v : values)
        keys.append(d->searchKey({v}).constFirst());
    QVector<ColType> types = d->layout.selectTypes();
    if (!fields.isEmpty()) {
        QVector<bool> wanted(m_def->fields.size(), false);
        for (const FieldKey &field : fields) {
            const int f = field.find(*m_def);
            if (f < 0)
                throw d->error(QStringLiteral("pole %1 v tabulce není").arg(field.name()));
            wanted[f] = true;
        }
        const QVector<int> &selectFields = d->layout.selectFields();
        for (int c = 0; c < selectFields.size(); ++c)
            if (selectFields[c] >= 0 && selectFields[c] != d->layout.idField() && !wanted[selectFields[c]])
                types[c] = ColType::Skip;
    }
    return d->fetch({d->keyset().rowsWithFirstKeyIn(keys, types)}, false, &types);
}

} // namespace store

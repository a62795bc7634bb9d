#include "stock_tables.h"

#include "core/errors.h"
#include "store/tables/index_names.h"
#include "store/tdata.h"

namespace ix = store::tables::index;

StockCursors::StockCursors(TData &d)
    : cards(d.ffSortiment, ix::ffSortiment::KAV),
      variants(d.ffSklad, ix::ffSklad::KAV),
      journal(d.ffDenik, ix::ffDenik::KAV)
{
}

QString StockCardSerialName(const QString &card) { return QStringLiteral("SOR") + card; }

bool TryEdit(store::Table &t)
{
    try {
        t.Edit();
        return true;
    } catch (const AppError &) {
        return false;
    }
}

#include "stock_tables.h"

#include "core/errors.h"

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

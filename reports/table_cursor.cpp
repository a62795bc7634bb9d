#include "table_cursor.h"

std::unique_ptr<store::Table> OpenCursorOn(const store::Table &component, const QString &index)
{
    auto cursor = std::make_unique<store::Table>(&component.Definition());
    cursor->SetDatabase(component.GetDatabase());
    cursor->SetTableName(component.TableName());
    cursor->Open();
    if (!index.isEmpty())
        cursor->SetIndexName(index);
    return cursor;
}

#include "cursor.h"

namespace store {

Cursor::Cursor(const Table &like, const QString &index) : Table(&like.Definition())
{
    SetDatabase(like.GetDatabase());
    SetTableName(like.TableName());
    Open();
    if (!index.isEmpty())
        SetIndexName(index);
}

} // namespace store

// The catalogue of the shared database: one table component per table, 76 in all.
// Per-firm tables are named prefix + firm number, shared tables have fixed names
// ending in "0000", the lock table is "SYS0001" for every firm. The list is
// STORE_CATALOGUE of catalogue.h; tables that this system never opens carry no fields.

#include "tables.h"
#include "builders.h"
#include "catalogue.h"

#include <deque>
#include <stdexcept>

namespace store::tables {

using namespace build;

namespace {

// A used table's definition must be the catalogue's component: the data module binds
// its field objects by the component's column list.
const TableDef *usedDefinition(const char *component, const TableDef &def)
{
    if (def.component != QLatin1String(component))
        throw std::logic_error(std::string("catalogue entry ") + component + " has the definition of "
                               + def.component.toStdString());
    return &def;
}

QVector<const TableDef *> buildCatalogue()
{
    // A deque never moves its elements, so the pointers handed out stay valid.
    static std::deque<TableDef> unused;
    QVector<const TableDef *> list;
#define USED(component, definition, columns) list.append(usedDefinition(#component, definition()));
#define UNUSED(component, naming, name)                                                    \
    unused.push_back(naming(QStringLiteral(#component), QStringLiteral(name)));         \
    list.append(&unused.back());
    STORE_CATALOGUE(USED, UNUSED)
#undef USED
#undef UNUSED
    return list;
}

} // namespace

const QVector<const TableDef *> &catalogue()
{
    static const QVector<const TableDef *> list = buildCatalogue();
    return list;
}

const TableDef *findComponent(const QString &component)
{
    for (const TableDef *t : catalogue())
        if (t->component == component)
            return t;
    return nullptr;
}

QVector<const TableDef *> schemaTables()
{
    QVector<const TableDef *> list;
    for (const TableDef *t : catalogue()) {
        if (t->fields.isEmpty())
            continue;
        list.append(t == &dodavky() ? &dodavkyFull() : t);
    }
    return list;
}

} // namespace store::tables

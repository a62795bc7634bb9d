#include "layout.h"

#include "core/errors.h"

#include <QDateTime>

namespace store {

namespace {

const QString kHiddenId = QStringLiteral("ID_");
const QString kUpperSuffix = QStringLiteral("__U");

bool isText(FieldType t) { return t == FieldType::String; }

} // namespace

QString quoted(const QString &name)
{
    // An identifier in double quotes, any double quote inside it doubled, so that no name
    // can end the identifier early.
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

ColType colType(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return ColType::Text;
    case FieldType::Float:
        return ColType::Real;
    case FieldType::Date:
        return ColType::Date;
    case FieldType::Time:
        return ColType::Time;
    case FieldType::DateTime:
        return ColType::DateTime;
    case FieldType::Boolean:
        return ColType::Boolean;
    default:
        return ColType::Integer;
    }
}

TableLayout::TableLayout(const TableDef &def)
    : m_def(&def), m_key(def.fields.size(), false), m_upper(def.fields.size(), false)
{
    const auto fail = [&](const QString &what) {
        throw StoreError(QStringLiteral("Definice tabulky %1: %2").arg(def.component, what));
    };
    for (int f = 0; f < def.fields.size(); ++f) {
        if (def.fields[f].type != FieldType::AutoInc || def.fields[f].calculated)
            continue;
        if (m_idField >= 0)
            fail(QStringLiteral("víc než jedno pole s automatickým číslováním"));
        m_idField = f;
    }
    m_idColumn = quoted(m_idField >= 0 ? def.fields[m_idField].name : kHiddenId);

    for (const IndexDef &ix : def.indexes) {
        if (ix.fields.isEmpty())
            fail(QStringLiteral("index %1 nemá klíčová pole").arg(ix.name));
        for (const IndexField &kf : ix.fields) {
            const int f = def.fieldIndex(kf.field);
            if (f < 0 || def.fields[f].calculated)
                fail(QStringLiteral("index %1: pole %2 není uloženo").arg(ix.name, kf.field));
            m_key[f] = true;
            if (ix.caseInsensitive && isText(def.fields[f].type))
                m_upper[f] = true;
        }
    }

    // The names are quoted once: every statement of the table is written with them.
    for (int f = 0; f < def.fields.size(); ++f) {
        m_columns.append(quoted(def.fields[f].name));
        m_upperColumns.append(m_upper[f] ? quoted(def.fields[f].name + kUpperSuffix) : QString());
    }

    QStringList select;
    for (int f = 0; f < def.fields.size(); ++f) {
        if (def.fields[f].calculated)
            continue;
        if (f == m_idField)
            m_idSelectColumn = int(select.size());
        else
            m_insertFields.append(f);
        select.append(column(f));
        m_selectTypes.append(colType(def.fields[f].type));
        m_selectFields.append(f);
    }
    if (m_idField < 0) {
        m_idSelectColumn = int(select.size());
        select.append(m_idColumn);
        m_selectTypes.append(ColType::Integer);
        m_selectFields.append(-1);
    }
    // The capitals columns are not read: they serve the order only, and a record derives
    // them from its field.
    m_selectList = select.join(QStringLiteral(", "));
    m_selectColumns = select;
}

QString TableLayout::selectListReading(const QVector<ColType> &types) const
{
    QStringList select = m_selectColumns;
    for (int c = 0; c < select.size(); ++c)
        if (types[c] == ColType::Skip)
            select[c] = QStringLiteral("NULL");
    return select.join(QStringLiteral(", "));
}

QVector<KeyColumn> TableLayout::keyColumns(const IndexDef *index) const
{
    QVector<KeyColumn> cols;
    bool hasId = false;
    if (index) {
        for (const IndexField &kf : index->fields) {
            const int f = m_def->fieldIndex(kf.field);
            const bool upper = m_upper[f] && index->caseInsensitive;
            cols.append({upper ? upperColumn(f) : column(f), f, upper, kf.descending});
            hasId = hasId || f == m_idField;
        }
    }
    if (!hasId && !(index && index->unique))
        cols.append({m_idColumn, m_idField, false, false});
    return cols;
}

QVariant TableLayout::toStorage(int field, const QVariant &value) const
{
    const bool key = m_key[field];
    switch (m_def->fields[field].type) {
    case FieldType::String:
        return value.isNull() ? QStringLiteral("") : value.toString();
    case FieldType::Float:
        return value.isNull() ? 0.0 : value.toDouble();
    case FieldType::Boolean:
        return qint64(!value.isNull() && value.toBool() ? 1 : 0);
    case FieldType::Date:
        return value.isNull() ? (key ? QVariant(kEmptyKeyDate) : QVariant()) : value;
    case FieldType::Time:
        return value.isNull() ? (key ? QVariant(QStringLiteral("")) : QVariant()) : value;
    case FieldType::DateTime:
        return value.isNull() ? (key ? QVariant(QDateTime(kEmptyKeyDate, QTime(0, 0))) : QVariant()) : value;
    default:
        return value.isNull() ? qint64(0) : value.toLongLong();
    }
}

QString TableLayout::columnType(int field, const Dialect &d) const
{
    const bool key = m_key[field];
    switch (m_def->fields[field].type) {
    case FieldType::String:
        return d.textType + QStringLiteral(" NOT NULL DEFAULT ''");
    case FieldType::Float:
        return d.realType + QStringLiteral(" NOT NULL DEFAULT 0");
    case FieldType::Integer:
        return d.integerType + QStringLiteral(" NOT NULL DEFAULT 0");
    case FieldType::SmallInt:
    case FieldType::Boolean:
        return d.smallIntType + QStringLiteral(" NOT NULL DEFAULT 0");
    case FieldType::Date:
        return d.dateType + (key ? QStringLiteral(" NOT NULL DEFAULT '0001-01-01'") : QString());
    case FieldType::Time:
        return d.textType + (key ? QStringLiteral(" NOT NULL DEFAULT ''") : QString());
    case FieldType::DateTime:
        return d.dateTimeType + (key ? QStringLiteral(" NOT NULL DEFAULT '0001-01-01 00:00:00'") : QString());
    case FieldType::AutoInc:
        return d.primaryKeyType;
    }
    return {};
}

QStringList TableLayout::createStatements(const QString &tableName, const Dialect &dialect) const
{
    QStringList columns;
    if (m_idField < 0)
        columns.append(m_idColumn + u' ' + dialect.primaryKeyType);
    for (int f = 0; f < m_def->fields.size(); ++f)
        if (!m_def->fields[f].calculated)
            columns.append(column(f) + u' ' + columnType(f, dialect));
    for (int f = 0; f < m_def->fields.size(); ++f)
        if (m_upper[f])
            columns.append(upperColumn(f) + u' ' + dialect.textType + QStringLiteral(" NOT NULL DEFAULT ''"));

    QStringList statements{QStringLiteral("CREATE TABLE %1 (%2)")
                               .arg(quoted(tableName), columns.join(QStringLiteral(", ")))};
    for (const IndexDef &ix : m_def->indexes) {
        QStringList keys;
        for (const KeyColumn &c : keyColumns(&ix))
            keys.append(c.descending ? c.name + QStringLiteral(" DESC") : c.name);
        statements.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                              .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(),
                                   quoted(tableName + u'_' + ix.name), quoted(tableName),
                                   keys.join(QStringLiteral(", "))));
    }
    return statements;
}

} // namespace store

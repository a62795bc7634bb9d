#pragma once
// The description of a table as data: its fields in table order and its named
// indexes. The table component, both engines and `podklady-db init` read the same
// description, so a table is defined once.

#include <QString>
#include <QStringList>
#include <QVector>

namespace store {

enum class FieldType {
    String,    // text of at most `size` characters
    Float,     // double
    Integer,   // 32-bit signed
    SmallInt,  // 16-bit signed
    Boolean,
    Date,      // calendar date without time
    Time,      // time of day, to the second
    DateTime,  // date and time, to the second
    AutoInc,   // integer the store assigns when a new record is posted
};

struct FieldDef {
    QString name;          // "HLA_DO1"
    FieldType type = FieldType::String;
    int size = 0;          // strings: the most characters the field holds
    QString label;         // display label; empty: the field name is shown
    QString format;        // display format: "#,##0.00", "dd.mm.yyyy", "hh:mm:ss",
                           // "Ano;Ne" for Booleans; empty: the default form
    bool calculated = false;  // not stored; set by the table's calc-fields handler
};

struct IndexField {
    QString field;
    bool descending = false;
};

struct IndexDef {
    QString name;                 // three-letter index name chosen by name ("DO1")
    QVector<IndexField> fields;   // key fields; the record id is always the last tie-breaker
    bool unique = false;          // no two records with equal key fields
    bool caseInsensitive = false; // text key fields compare in capitals (locale rules)
};

struct TableDef {
    QString component;            // "ffPodklHlav"
    QString builtInName;          // the name before the firm is known: "POD0001", "CEN0000"
    QString prefix;               // per-firm tables: "POD"; empty for shared and fixed names
    QVector<FieldDef> fields;     // in table order, calculated fields among them
    QVector<IndexDef> indexes;

    // The table's name for a firm: prefix + firm for per-firm tables, else the fixed name.
    QString nameForFirm(const QString &firmNumber) const
    {
        return prefix.isEmpty() ? builtInName : prefix + firmNumber;
    }
    int fieldIndex(const QString &fieldName) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    const IndexDef *index(const QString &indexName) const
    {
        for (const IndexDef &ix : indexes)
            if (ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
                return &ix;
        return nullptr;
    }
};

} // namespace store

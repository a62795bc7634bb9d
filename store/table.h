#pragma once
// The table component: one named table of the store, browsed in the order of a named
// index. It never loads the whole table: every move is an indexed keyset query that
// reads a small page, so a table of a million rows behaves like one of ten.
//
// Errors: every failure of the store throws StoreError carrying the store's text;
// a wrong use (Post while browsing, an unknown field or index) throws StoreError too.
// Position and errors are kept apart: Eof()/Bof() say where the cursor stands, an
// exception says that an operation failed, and a failed operation leaves the cursor
// where it was.

#include "schema.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace store {

class Database;
class Table;

class Field;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// Names a field of a record or table: by its name (looked up on each use), or by a field
// object of the same table (no look-up). A field object of another table, or a name the
// table does not have, throws StoreError where it is used.
class FieldKey {
public:
    FieldKey(const QString &name) : m_name(name) {}
    FieldKey(const char *name) : m_name(QString::fromUtf8(name)) {}
    FieldKey(QLatin1String name) : m_name(name) {}
    FieldKey(const Field &field) : m_field(&field) {}

    // The index of the field in def: -1 (find) or StoreError (indexIn) when def has no
    // such field.
    int find(const TableDef &def) const;
    int indexIn(const TableDef &def) const;
    QString name() const;

private:
    QString m_name;
    const Field *m_field = nullptr;
};

// The values of one row, in the field order of its table (calculated fields included).
// A null QVariant is an empty value: AsString gives "", AsFloat 0, AsDate a null date.
// A field holds QString, double, qint64, bool, QDate, QTime or QDateTime by its type.
// Rows read from the store hold "" and 0 for empty strings and numbers; only a new
// record's fields start empty.
class Record {
public:
    Record() = default;
    // A record of the table with every field empty. Requires: def outlives the record.
    explicit Record(const TableDef *def);

    const TableDef &def() const { return *m_def; }
    qint64 id() const { return m_id; }          // the record id (bookmark value); 0 for a new row
    void setId(qint64 id) { m_id = id; }

    const QVariant &value(int field) const { return m_values[field]; }
    const QVariant &value(const FieldKey &field) const;
    // Stores v converted to the field's type. Strings are checked against the code
    // page (CodePageError) and cut to the field's size; a text that cannot be
    // converted to a number or date throws ConversionError.
    void setValue(int field, const QVariant &v);
    void setValue(const FieldKey &field, const QVariant &v);

    // Readings of a value; ConversionError when the value has no such reading.
    QString AsString(const FieldKey &field) const;
    double AsFloat(const FieldKey &field) const;
    qint64 AsInteger(const FieldKey &field) const;
    bool AsBoolean(const FieldKey &field) const;
    QDate AsDate(const FieldKey &field) const;
    QTime AsTime(const FieldKey &field) const;
    QDateTime AsDateTime(const FieldKey &field) const;

private:
    friend class Table;
    int fieldIndex(const FieldKey &field) const;

    const TableDef *m_def = nullptr;
    qint64 m_id = 0;
    QVector<QVariant> m_values;
};

// A field of a table component: a view of one value of its current record buffer.
class Field {
public:
    Field(Table *table, int index) : m_table(table), m_index(index) {}

    const FieldDef &def() const;
    QString FieldName() const;
    QString DisplayLabel() const;  // the label, or the field name when it has none
    // True when the current record's value is empty (a new record's untouched field,
    // an empty date or time).
    bool IsNull() const;

    // Readings of the current record's value (ConversionError when it has no such
    // reading, e.g. AsFloat of a text that is not a number).
    QString AsString() const;
    double AsFloat() const;
    qint64 AsInteger() const;
    bool AsBoolean() const;
    QDate AsDate() const;
    QTime AsTime() const;
    QDateTime AsDateTime() const;
    QVariant Value() const;

    // Setters require the table to be in Edit or Insert state (StoreError otherwise);
    // calculated fields may also be set from the calc-fields handler. Each change of a
    // stored field recomputes the calculated fields and notifies the data sources.
    // A text with a character outside Windows-1250 throws CodePageError and changes
    // nothing; a longer text is cut to the field's size. The AutoInc field is the
    // store's: setting it throws StoreError.
    void SetAsString(const QString &v);   // converted by the field's type (ConversionError)
    void SetAsFloat(double v);
    void SetAsInteger(qint64 v);
    void SetAsBoolean(bool v);
    void SetAsDate(const QDate &v);
    void SetAsTime(const QTime &v);
    void SetAsDateTime(const QDateTime &v);
    void SetValue(const QVariant &v);
    void Clear();

    // The value as shown outside editing: by the display format and the locale.
    QString DisplayText() const;
    // The value as put into an edit control: without thousands separators.
    QString EditText() const;

private:
    friend class FieldKey;
    Table *m_table;
    int m_index;
};

// A remembered record: its id (never given to another record, also after a delete).
// Going back to a record that is gone throws StoreError.
struct Bookmark {
    qint64 id = 0;
    bool isValid() const { return id != 0; }
};

class Table : public QObject {
    Q_OBJECT
public:
    // Requires: def outlives the table. A definition that cannot be stored (two AutoInc
    // fields, an index on an unknown field) throws StoreError. The table starts closed,
    // named by the definition's built-in name, in the default order.
    explicit Table(const TableDef *def, QObject *parent = nullptr);
    // Closes the table (an edit is cancelled, its hold ends).
    ~Table() override;

    const TableDef &Definition() const { return *m_def; }
    // Requires: closed. The database may be null until the table is opened.
    void SetDatabase(Database *db);
    Database *GetDatabase() const { return m_db; }
    // Requires: closed.
    void SetTableName(const QString &name);
    QString TableName() const { return m_tableName; }

    // Open: requires a database that is connected and a table of that name (else
    // StoreError). After it the cursor stands on the first record in the current order
    // (Bof() true). Opening an open table does nothing.
    void Open();
    // Cancels any edit (dropping its hold), lifts the range and releases the table.
    // Closing a closed table does nothing.
    void Close();
    bool Active() const;

    // Selects the order; "" is the default order (by record id); names match without
    // regard to case. The current record stays current; a range is lifted (its values
    // belong to the old order). An unknown name throws StoreError and keeps the order.
    // Allowed while closed.
    void SetIndexName(const QString &name);
    QString IndexName() const;

    // Searches, ranges and Locate convert their values to the key field's type (a text
    // cut to the field's size, in capitals for a case-insensitive index); a value that
    // cannot be converted throws ConversionError and moves nothing. More values than
    // the index has key fields throw StoreError. They work within the range.
    //
    // Exact match on the first n key fields of the current index (n = values.size()).
    // True: that record (the first in index order) is current. False: nothing moved.
    bool FindKey(const QVariantList &values);
    // The first record whose key equals or follows the values becomes current; when none
    // does, the cursor stands on the last record with Eof() true.
    void FindNearest(const QVariantList &values);
    // Limits browsing to records whose leading key fields lie between start and end, both
    // included, compared in index order (start and end may have fewer values than the
    // index has fields). The cursor moves to the first record of the range (as First).
    void SetRange(const QVariantList &start, const QVariantList &end);
    // Lifts the range; the current record stays current (the first record when the
    // range was empty).
    void CancelRange();
    // The first record in the current order whose field equals value exactly (case
    // counts). False: nothing moved.
    bool Locate(const FieldKey &field, const QVariant &value);

    // Browsing in index order, within the range. First sets Bof() and Last sets Eof();
    // Next on the last record sets Eof() and stays; Prior on the first sets Bof() and
    // stays; any other move clears both. On an empty table both are true. A move while
    // editing first posts a changed buffer (cancels an unchanged one). After a write
    // through any component of the same database the next move reads afresh.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    bool IsEmpty() const;
    // The number of records under the current range (one counting query).
    qint64 RecordCount();
    // The sum of a stored Float or Integer field over the records under the current
    // range (one query); 0 when there are none. StoreError for another field.
    double Sum(const FieldKey &field);

    // Append/Insert: a new empty record buffer in Insert state; the after-insert handler
    // runs (when it throws, the insert is cancelled and the error propagates).
    // Edit: holds the current record against every other connection and rereads it;
    // a record held elsewhere, a record gone or an empty table throw StoreError. A record
    // held elsewhere is asked for again for a moment (at most 0.3 s) before the refusal,
    // "záznam je upraven jinou stanicí": a hold that ends with another station's commit is
    // taken as it ends, and what that station wrote is read. In Edit or Insert already it
    // does nothing.
    // Post: requires Edit or Insert; writes the buffer (the store assigns the AutoInc
    // field; Edit writes only the changed fields), ends the hold, and the written record
    // is current in the current order (when it lies outside the range, the record after
    // it). A failed Post keeps the state and the buffer.
    // Cancel: abandons the buffer, ends the hold; the record before the edit is current.
    // Delete: removes the current record (StoreError when another connection holds it
    // or when it is gone); the next record becomes current, or the last with Eof() when
    // none follows. In Insert state Delete cancels the new record.
    // A hold that Post, Cancel or Delete ends within a transaction of the database lasts
    // until that transaction has ended and its commit is visible to every other
    // connection (Database::Commit): whoever holds the record next reads it as committed.
    void Append();
    void Insert();
    void Edit();
    void Post();
    // Post followed by Edit: the written record is current and in editing again, also
    // within a range that the write took it out of (current as GotoBookmark would make
    // it). The record stays held in between (a new one is held from its write on) and is
    // not read again: what was written is what the buffer holds. A failed write leaves
    // the record in editing, with its buffer and its hold, as a failed Post does. When a
    // new record, once written, cannot be held (another station took it first), StoreError
    // says so, and the written record is current in Browse.
    void PostAndEdit();
    void Cancel();
    void Delete();
    // Appends the records (of this table's definition) as new rows, as Append, setting
    // their fields and Post would, all in one transaction: the caller's when one is open
    // on the database, else one of its own. The after-insert handler does not run, the
    // store assigns the AutoInc field, and the current record does not move. All or
    // nothing: on an error no record is written (unless the caller's transaction goes
    // on). Requires the table open and neither editing nor inserting (StoreError).
    void AppendRecords(const QVector<Record> &records);
    // Deletes every record of the table, ranges aside, in one statement, and stands on
    // the empty table (Bof and Eof). An edit or insert of this component is cancelled.
    // Only for a table of the in-memory work database, which no other connection holds
    // records of (StoreError for any other).
    void EmptyTable();
    DataSetState State() const;
    // True in Edit or Insert after a stored field has been set.
    bool Modified() const;

    // The current record (invalid on an empty table and for a new record).
    Bookmark GetBookmark() const;
    // The remembered record becomes current. StoreError when it is gone (or invalid).
    void GotoBookmark(const Bookmark &b);
    // True when the remembered record still exists.
    bool BookmarkValid(const Bookmark &b);

    int FieldCount() const;
    Field &Fields(int i);
    Field &FieldByName(const FieldKey &name);  // StoreError for an unknown name
    Field *FindField(const FieldKey &name);    // nullptr for an unknown name
    Field &operator[](const FieldKey &name) { return FieldByName(name); }
    // The record the fields show: the edit buffer in Edit/Insert, else the current
    // record (every field empty on an empty or closed table).
    const Record &CurrentRecord() const;

    // Reads up to count records in the current order under the range, starting after
    // (forward) or before (backward) the record `from`, or from the start / end when
    // `from` is invalid. Rows come in index order either way, calculated fields set.
    // The current record does not move. For grids. StoreError when `from` is gone;
    // the key of a row at either end of the pages last read (or of a buffered row) is
    // known without a look-up while nothing has been written through this connection,
    // so a grid's next page after it reads on from where that row was.
    QVector<Record> ReadRows(const Bookmark &from, int count, bool forward);
    // Reads, in one query, the records under the range whose first key field in the
    // current order equals one of `values` (each converted as for FindKey), in index
    // order, so that the records of one value follow each other. Only the stored fields
    // named in `fields` are read (all when it is empty); the others stay empty, and the
    // record id is always read. The current record does not move. StoreError for more
    // than kMaxReadKeys values or a field the table does not have. For reading the
    // records of many keys at once, such as the lines of a page of documents.
    static constexpr int kMaxReadKeys = 1000;
    QVector<Record> ReadKeys(const QVariantList &values, const QVector<FieldKey> &fields = {});

    // Runs for every row read into a buffer and after each change of a stored field
    // while editing; it sets the calculated fields of the record.
    std::function<void(Record &)> OnCalcFields;
    // Runs right after Append/Insert has made the new buffer. It may open other tables,
    // start a transaction, and throw (the insert is then cancelled).
    std::function<void(Table &)> OnAfterInsert;

signals:
    void recordChanged();           // the current record moved or was reread
    void stateChanged();            // open/close, browse/edit/insert
    void fieldChanged(int field);   // a field's value changed in the buffer while editing

private:
    friend class Field;
    friend class TableUse;  // remembers and gives back the range
    friend void RecycleRows(Table &table, QVector<Record> rows);  // row_recycling.h
    struct Impl;
    const TableDef *m_def;
    Database *m_db = nullptr;
    QString m_tableName;
    std::unique_ptr<Impl> d;
};

// The link between a table and the controls bound to it: they follow its record and
// state through these signals. Disabling the source detaches the controls.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Table *table = nullptr, QObject *parent = nullptr);
    void SetDataSet(Table *table);
    Table *DataSet() const { return m_table; }
    void SetEnabled(bool on);
    bool Enabled() const { return m_enabled; }

signals:
    void dataChanged();             // the record moved or was reread
    void stateChanged();
    void fieldChanged(int field);

private:
    Table *m_table = nullptr;
    bool m_enabled = true;
    QMetaObject::Connection m_c1, m_c2, m_c3;
};

} // namespace store

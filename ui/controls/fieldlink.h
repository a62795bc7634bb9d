#pragma once
// The tie of a data-aware control to one field of the table behind a data source. It tells
// the control when to show the field again: the record moved or was reread, the table's
// state changed, or the field itself changed.

#include "store/table.h"

#include <QObject>
#include <QPointer>
#include <QString>

class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent = nullptr);

    // The data source (not owned; the link lets go of it when it is destroyed).
    store::DataSource *DataSource() const { return m_source; }
    void SetDataSource(store::DataSource *source);
    // The name of the bound field.
    QString DataField() const { return m_fieldName; }
    void SetDataField(const QString &name);

    // The bound field while the source is enabled, its table open and the field exists;
    // otherwise nullptr.
    store::Field *field() const;
    // True while the table behind the source is editing or inserting a row.
    bool editing() const;

signals:
    // The field's value or the table's state may have changed: show the field again.
    void changed();

private:
    store::Table *table() const;

    QPointer<store::DataSource> m_source;
    QString m_fieldName;
    QMetaObject::Connection m_data, m_state, m_field;
};

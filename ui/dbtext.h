#pragma once
// TDBText: a label that shows one field of the table behind a data source in the field's
// display format, following every move of the record and change of the field.

#include <QLabel>

class FieldLink;
namespace store {
class DataSource;
}

class TDBText : public QLabel {
    Q_OBJECT
public:
    // Shows field of source (not owned); alignment as the label's.
    TDBText(store::DataSource *source, const QString &field, Qt::Alignment alignment = Qt::AlignLeft,
            QWidget *parent = nullptr);

private:
    void showField();

    FieldLink *m_link;
};

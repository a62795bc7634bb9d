#include "dbtext.h"

#include "core/errors.h"
#include "fieldlink.h"

TDBText::TDBText(store::DataSource *source, const QString &field, Qt::Alignment alignment, QWidget *parent)
    : QLabel(parent)
    , m_link(new FieldLink(this))
{
    setAlignment(alignment | Qt::AlignVCenter);
    setFrameShape(QFrame::StyledPanel);
    connect(m_link, &FieldLink::changed, this, &TDBText::showField);
    m_link->SetDataSource(source);
    m_link->SetDataField(field);
    showField();
}

void TDBText::showField()
{
    QString shown;
    if (const store::Field *f = m_link->field()) {
        try {
            shown = f->DisplayText();
        } catch (const AppError &) {
            shown.clear();   // a value that cannot be shown shows nothing
        }
    }
    setText(shown);
}

#include "search_dialogs.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "core/quietly.h"
#include "isdoc/cards.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

namespace {

const QString kTitle = QStringLiteral("Hledej položku databáze");

using V = SearchOption::Value;

} // namespace

SearchDialog::SearchDialog(store::Table &table, const QString &title, const QVector<SearchOption> &options,
                           bool centreOnOwner, QObject *parent)
    : FormCommands(parent), Title(title), Options(options), CentreOnOwner(centreOnOwner), m_table(table)
{
}

void SearchDialog::FormShow()
{
    Text.clear();
    HledejEnabled = false;
    Selected = 0;
    emit changed();
    FocusControl(0);
}

void SearchDialog::SelectOption(int i)
{
    if (i < 0 || i >= Options.size())
        return;
    Selected = i;
    emit changed();
}

void SearchDialog::RadioKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        FocusControl(VEdit1);
}

void SearchDialog::SetText(const QString &text) { Text = text; }

void SearchDialog::FieldKeyPressed()
{
    if (HledejEnabled)
        return;
    HledejEnabled = true;
    emit changed();
}

bool SearchDialog::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    BitBtn2Click();
    return true;
}

QString SearchDialog::SearchValue() const
{
    switch (Options[Selected].value) {
    case V::TrimRight:
        return TrimRightChar(Text, u' ');
    case V::Trim:
        return TrimControl(Text);
    case V::TrimUpper:
        return UpperLocale(TrimControl(Text));
    }
    return Text;
}

void SearchDialog::BitBtn1Click()
{
    if (!HledejEnabled)
        return;
    const QString previousIndex = m_table.IndexName();
    if (Options[Selected].barcode && GotoCardByEan(*Data, SearchValue())) {
        CloseWith(mrOk);
        return;
    }
    try {
        m_table.SetIndexName(Options[Selected].index);
        m_table.FindNearest({SearchValue()});
    } catch (const AppError &e) {
        // The value did not convert (or the store failed): the table goes back to its order;
        // it has not moved.
        Quietly([&] { m_table.SetIndexName(previousIndex); });
        prompter().ShowMessage(e.text());
        FocusControl(VEdit1);
        return;
    }
    CloseWith(mrOk);
}

void SearchDialog::BitBtn2Click() { CloseWith(mrCancel); }

TSorHle::TSorHle(QObject *parent)
    : SearchDialog(Data->ffSortiment, kTitle,
                   {
                       {QStringLiteral("RadioButton1"), QStringLiteral("Hledej název položky sortimentu"),
                        ix::ffSortiment::NAC, V::TrimRight},
                       {QStringLiteral("RadioButton2"), QStringLiteral("Hledej dle čísla karty sortimentu"),
                        ix::ffSortiment::KAV, V::Trim, false, true},
                       {QStringLiteral("RadioButton6"), QStringLiteral("Hledej dle aliasu názvu"),
                        ix::ffSortiment::ALI, V::TrimRight},
                       {QStringLiteral("RadioButton4"), QStringLiteral("Hledej dle kódu dodavatele"),
                        ix::ffSortiment::KDO, V::TrimRight},
                       {QStringLiteral("RadioButton5"), QStringLiteral("Hledej dle kódu výrobce"),
                        ix::ffSortiment::KVY, V::TrimRight},
                       {QStringLiteral("RadioButton3"), QStringLiteral("Hledej částku prodejní cenu "),
                        ix::ffSortiment::PC1, V::TrimRight, true},
                   },
                   true, parent)
{
}

TDodHle::TDodHle(QObject *parent)
    : SearchDialog(Data->ffDodavatele, kTitle,
                   {
                       {QStringLiteral("RadioButton1"), QStringLiteral("Hledej dle názvu dodavate"),
                        ix::ffDodavatele::NAC, V::TrimUpper},
                       {QStringLiteral("RadioButton2"), QStringLiteral("Hledej název IČO dodavatele"),
                        ix::ffDodavatele::ICO, V::TrimUpper},
                       {QStringLiteral("RadioButton3"), QStringLiteral("Hledej Int.kód dodavatele "),
                        ix::ffDodavatele::KOD, V::Trim},
                   },
                   false, parent)
{
}

TPodkladyHle::TPodkladyHle(QObject *parent)
    : SearchDialog(Data->ffPodklHlav, kTitle,
                   {
                       {QStringLiteral("RadioButton1"), QStringLiteral("Hledej dle čísla příjemky ( dodávky )"),
                        ix::ffPodklHlav::DO1, V::Trim},
                       {QStringLiteral("RadioButton2"), QStringLiteral("Hledej název dodavatele"),
                        ix::ffPodklHlav::NAC, V::Trim},
                       {QStringLiteral("RadioButton3"), QStringLiteral("Hledej dle čísla výdejky dodavatele "),
                        ix::ffPodklHlav::DO2, V::Trim},
                   },
                   false, parent)
{
}

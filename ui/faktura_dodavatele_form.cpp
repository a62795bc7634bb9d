#include "faktura_dodavatele_form.h"

#include "core/textutil.h"
#include "keypreview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString amount(double value) { return FormatFloat(QStringLiteral("#,##0.00"), value); }

QString quantity(const IsdocItem &item)
{
    return item.line.quantity ? FormatFloat(QStringLiteral("#,##0.000"), *item.line.quantity) : QString();
}

// The card column: the card found, or why there is none; a line left out says so.
QString cardText(const IsdocItem &item)
{
    if (item.omitted)
        return QStringLiteral("vynecháno");
    if (item.card.isEmpty())
        return item.reason;
    return item.card + QStringLiteral("  ") + item.cardName;
}

QString matchText(const IsdocItem &item)
{
    switch (item.match) {
    case IsdocMatch::Buyers:
        return QStringLiteral("číslo karty");
    case IsdocMatch::Ean:
        return QStringLiteral("EAN");
    case IsdocMatch::Sellers:
        return QStringLiteral("kód dodavatele");
    case IsdocMatch::Picked:
        return QStringLiteral("vybráno");
    case IsdocMatch::None:
        break;
    }
    return QStringLiteral("nenalezeno");
}

} // namespace

QStringList FakturaDodavateleDialog::Columns()
{
    return {QStringLiteral("Řádek"), QStringLiteral("Nalezeno"), QStringLiteral("Karta"), QStringLiteral("Dodáno DJ"),
            QStringLiteral("Cena za DJ"), QStringLiteral("Popis"), QStringLiteral("Problém"),
            QStringLiteral("Identifikace")};
}

FakturaDodavateleDialog::FakturaDodavateleDialog(TFakturaDodavatele &commands, QWidget *parent)
    : QDialog(parent), m_commands(commands)
{
    setWindowTitle(QStringLiteral("Faktura dodavatele"));
    setSizeGripEnabled(true);
    m_supplier = new QLabel;
    m_invoice = new QLabel;
    m_invoice->setWordWrap(true);
    m_state = new QLabel;
    m_lines = new QTableWidget(0, Columns().size());
    m_lines->setObjectName(QStringLiteral("Grid"));
    m_lines->setHorizontalHeaderLabels(Columns());
    m_lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->setTabKeyNavigation(false);
    m_lines->verticalHeader()->hide();

    auto *bar = new QHBoxLayout;
    bar->addWidget(button(QStringLiteral("F4 Karta"), [this] { m_commands.PickCard(); }));
    bar->addWidget(button(QStringLiteral("Del Vynechat"), [this] { m_commands.ToggleOmit(); }));
    bar->addWidget(button(QStringLiteral("F2 Založit dodavatele"), [this] { m_commands.CreateSupplier(); }));
    bar->addWidget(button(QStringLiteral("F9 Zapsat"), [this] { m_commands.Write(); }));
    bar->addStretch(1);
    bar->addWidget(button(QStringLiteral("Storno"), [this] { m_commands.Cancel(); }));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_supplier);
    layout->addWidget(m_invoice);
    layout->addWidget(m_lines, 1);
    layout->addWidget(m_state);
    layout->addLayout(bar);
    resize(900, 420);

    connect(m_lines, &QTableWidget::currentCellChanged, this, [this](int row) { m_commands.Current = row; });
    connect(&m_commands, &TFakturaDodavatele::changed, this, [this] { showDocument(m_commands.Current); });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this] { m_lines->setFocus(Qt::OtherFocusReason); });
    new KeyPreview(this, [this](QKeyEvent *e) { return m_commands.FormKeyDown(e->key(), e->modifiers()); });
    showDocument(0);
    m_lines->setFocus(Qt::OtherFocusReason);
}

QPushButton *FakturaDodavateleDialog::button(const QString &caption, std::function<void()> command)
{
    auto *b = new QPushButton(caption);
    // The buttons are clicked; the keys of their captions reach the commands directly.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [command = std::move(command)] { command(); });
    return b;
}

void FakturaDodavateleDialog::showDocument(int current)
{
    const IsdocDocument &doc = m_commands.Doc;
    const IsdocInvoice &inv = doc.invoice;
    m_supplier->setText(doc.supplierCode.isEmpty()
                            ? QStringLiteral("Dodavatel: nenalezen – %1, IČO %2 (F2 ho založí)").arg(inv.supplier.name, inv.supplier.ico)
                            : QStringLiteral("Dodavatel: %1  %2, IČO %3").arg(doc.supplierCode, doc.supplierName, inv.supplier.ico));
    m_invoice->setText(QStringLiteral("Faktura: %1 ze dne %2   číslo dokladu dodavatele: %3   měna: %4   kurz: %5   "
                                      "fakturováno bez DPH: %6")
                           .arg(inv.id, DateToStr(inv.issueDate), doc.invoiceNumber, doc.currency,
                                FormatFloat(QStringLiteral("#,##0.0000"), doc.rate), amount(doc.invoiced)));
    m_lines->setRowCount(int(doc.items.size()));
    for (int row = 0; row < doc.items.size(); ++row) {
        const IsdocItem &item = doc.items[row];
        const QStringList cells = {
            item.line.id,
            matchText(item),
            cardText(item),
            quantity(item),
            item.writable() ? amount(item.price) : QString(),
            item.line.description,
            item.card.isEmpty() || item.omitted ? QString() : item.reason,
            item.identifications(),
        };
        for (int col = 0; col < cells.size(); ++col) {
            auto *cell = new QTableWidgetItem(cells[col]);
            if (col == 3 || col == 4)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_lines->setItem(row, col, cell);
        }
    }
    m_lines->resizeColumnsToContents();
    m_state->setText(QStringLiteral("Položek k zápisu: %1   bez karty: %2   vynecháno: %3")
                         .arg(doc.writableCount())
                         .arg(doc.unmatchedCount())
                         .arg(doc.items.size() - doc.writableCount() - doc.unmatchedCount()));
    if (current >= 0 && current < m_lines->rowCount())
        m_lines->setCurrentCell(current, 0);
}

#pragma once
// The review window "Faktura dodavatele": what the invoice says of its supplier, number,
// currency and total above the list of its lines (the card found, or "nenalezeno" with the
// reason; quantity, price and description), and the buttons of its commands. Keys (seen
// before the list), clicks and the list's current line go to its TFakturaDodavatele.

#include "faktura_dodavatele.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class FakturaDodavateleDialog : public QDialog {
    Q_OBJECT
public:
    // The list's column titles, in order.
    static QStringList Columns();

    // The commands outlive the window.
    FakturaDodavateleDialog(TFakturaDodavatele &commands, QWidget *parent = nullptr);

    QTableWidget *lines() const { return m_lines; }
    QLabel *supplierLabel() const { return m_supplier; }

private:
    void showDocument(int current);
    QPushButton *button(const QString &caption, std::function<void()> command);

    TFakturaDodavatele &m_commands;
    QLabel *m_supplier;
    QLabel *m_invoice;
    QLabel *m_state;
    QTableWidget *m_lines;
};

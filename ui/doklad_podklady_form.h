#pragma once
// The window of the source-document editor, "Doklad podkladů příjemky dodavate": the
// header fields bound to ffPodklHlav, the supplier display, the items of ffPodklPol, the
// totals and the buttons. Keys and clicks go to its TDokladPodklady; the window obeys
// its requests to move the focus and to close.

#include "doklad_podklady.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TDBEditTovel;
class TDBGrid;
class TZandorDBDateEdit;

class DokladPodkladyDialog : public QDialog {
    Q_OBJECT
public:
    // Requires: Data, with ffPodklHlav editing or inserting the header. The commands
    // outlive the window.
    DokladPodkladyDialog(TDokladPodklady &commands, QWidget *parent = nullptr);

    // The item columns of the list, in order.
    static QStringList ItemColumns();

    // The window's controls (for its tests).
    QWidget *control(TDokladPodklady::Control c) const;
    QPushButton *closeButton() const { return m_close; }
    const QLabel *supplierLabel(int n) const { return m_labels[n - 1]; }

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    bool keyDown(QKeyEvent *e);
    void showSupplier();

    TDokladPodklady &m_commands;
    TDBEditTovel *m_supplier, *m_invoice, *m_amount, *m_currency, *m_rate;
    TZandorDBDateEdit *m_delivered;
    TDBGrid *m_items;
    QLabel *m_labels[4];
    QPushButton *m_close;
};

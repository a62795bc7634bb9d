#pragma once
// The window of the supplier form, "ZakazniciEdit": the pages "&Základní údaje" and
// "&Kontaktní údaje" of inputs bound to the supplier row (Data->DataDodavatele), and the
// button bar "Storno", "Zapiš". Keys (seen before the inputs) and clicks go to its
// TZakazniciEdit; the window obeys its requests to show a page, move the focus and close.
// Tab or Enter in the state field, the last of the first page, goes on to the second page.

#include "zakaznici_edit.h"

#include <QDialog>
#include <QHash>

class QPushButton;
class QTabWidget;
class TDBEditTovel;

class TZakazniciEditForm : public QDialog {
    Q_OBJECT
public:
    // Requires: Data, with ffDodavatele editing or inserting the supplier row. The commands
    // outlive the window.
    TZakazniciEditForm(TZakazniciEdit &commands, QWidget *parent = nullptr);

    // The window's controls (for its tests).
    QWidget *control(TZakazniciEdit::Control c) const;
    QTabWidget *pages() const { return m_pages; }

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    bool keyDown(QKeyEvent *e);

    TZakazniciEdit &m_commands;
    QTabWidget *m_pages;
    QHash<int, QWidget *> m_controls;
    QPushButton *m_zapis, *m_storno;
};

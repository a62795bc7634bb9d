#pragma once
// The window of the supplier list, "Přehled dodavatelů": the record navigator, "F5 Hledej",
// "F4 Oprava" and "F2 Nový" over the grid of the suppliers (Data->DataDodavatele), at the
// height remembered under VstHeight. Keys (seen before the grid), the double click and the
// buttons go to its TPrehledZakazniku; the window obeys its requests to move the focus and
// to close, and opens the supplier search and the supplier form over itself.

#include "prehled_zakazniku.h"

#include <QDialog>

class QPushButton;
class TDBGrid;
class TDBNavigator;

class TPrehledZakaznikuForm : public QDialog {
    Q_OBJECT
public:
    // Requires: Data, with ffDodavatele open. The commands outlive the window. A remembered
    // height that is not a number raises ConversionError (no window is made).
    TPrehledZakaznikuForm(TPrehledZakazniku &commands, QWidget *parent = nullptr);

    TDBGrid *grid() const { return m_grid; }
    QPushButton *button(const char *name) const;

    // Closes with result; the height is remembered first (a failed write is shown).
    void done(int result) override;

private:
    TPrehledZakazniku &m_commands;
    TDBGrid *m_grid;
    bool m_closed = false;
};

// Runs the supplier list modally at pos over owner; mrOk when a supplier was chosen (the
// supplier table stands on it), mrCancel otherwise. Requires: Data, with ffDodavatele open.
int RunPrehledZakazniku(QPoint pos, QWidget *owner);

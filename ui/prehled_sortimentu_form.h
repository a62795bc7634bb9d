#pragma once
// The window of the assortment picker, "Přehled položek sortimentu": the record navigator
// and "F5 Hledej" over the grid of the assortment (Data->DataSorti). Keys (seen before the
// grid), the double click and the button go to its TPrehledSortimentu; the window obeys
// its requests to move the focus and to close, and opens the assortment search over itself.

#include "prehled_sortimentu.h"

#include <QDialog>

class QPushButton;
class TDBGrid;
class TDBNavigator;

class TPrehledSortimentuForm : public QDialog {
    Q_OBJECT
public:
    // Requires: Data, with ffSortiment open. The commands outlive the window.
    TPrehledSortimentuForm(TPrehledSortimentu &commands, QWidget *parent = nullptr);

    TDBGrid *grid() const { return m_grid; }
    TDBNavigator *navigator() const { return m_navigator; }
    QPushButton *searchButton() const { return m_search; }

    // Closes with result; the commands remember the current card first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    TPrehledSortimentu &m_commands;
    TDBNavigator *m_navigator;
    QPushButton *m_search;
    TDBGrid *m_grid;
    bool m_closed = false;
};

// Runs the assortment picker modally at pos over owner; mrOk when a card was chosen (the
// assortment stands on it), mrCancel otherwise. Requires: Data, with ffSortiment open.
int RunPrehledSortimentu(QPoint pos, QWidget *owner);

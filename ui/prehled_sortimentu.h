#pragma once
// TPrehledSortimentu: the commands of the assortment picker, "Přehled položek sortimentu".
// It lists Data->ffSortiment (open, set up by the card look-up) and lets the user choose
// a card: the table is left standing on it. Every key and the close remember the card the
// user stands on (SetLastSor, with the index then current), so that the next picker opens
// there and in that order.

#include "core/form_commands.h"

#include <QStringList>
#include <Qt>
#include <functional>

class TSorHle;

class TPrehledSortimentu : public FormCommands {
    Q_OBJECT
public:
    enum Control { DBGrid1 };

    // The grid's columns, in order.
    static QStringList GridColumns();

    explicit TPrehledSortimentu(QObject *parent = nullptr);

    // Shows the assortment search modally over this window and returns its result; set by
    // the window (tests play it).
    std::function<int(TSorHle &)> ShowSorHle;

    // The window is shown: when the assortment holds a card, the table goes back to the
    // remembered card and the order then current (GetLastSor).
    void FormShow();
    // The window's keys, seen before the grid. Every key remembers the current card first;
    // Escape then closes with Cancel, Enter chooses (Choose), F5 opens the search. True
    // when the key was taken (the grid must not act on it).
    bool FormKeyDown(int key);
    // A double click on the grid: remember the card and choose it.
    void DBGrid1DblClick();
    // Closes with OK when the table stands on a card; on an empty assortment there is
    // nothing to choose and the window stays open.
    void Choose();
    // "F5 Hledej": the assortment search (ShowSorHle); it may move the table and leave it
    // on another index. Then the focus returns to the grid.
    void Button1Click();
    // The window closes, with any result: the current card is remembered unless the table
    // has none.
    void FormClose();
};

#pragma once
// The pickers and the search the editors and the list open.

#include "core/window_family.h"

#include <QPoint>

class PickerScreens : public WindowFamily<PickerScreens> {
public:
    // Each runs its window modally and returns its result (mrOk or mrCancel); pos is the
    // top-left corner of the window on the screen.
    // The supplier picker TPrehledZakazniku on ffDodavatele, open and positioned by the
    // caller. mrOk: the user chose the supplier the table stands on.
    virtual int ShowPrehledZakazniku(QPoint pos) = 0;
    // The assortment picker TPrehledSortimentu on ffSortiment, open and positioned by
    // the caller. mrOk: the user chose the card the table stands on.
    virtual int ShowPrehledSortimentu(QPoint pos) = 0;
    // The source-document search TPodkladyHle over ffPodklHlav, centred on the screen;
    // it moves the header table to the document found.
    virtual int ShowPodkladyHle() = 0;
};

#pragma once
// The dialog asking for the choices of the deliveries overview, opened by the list.

#include "core/window_family.h"

class TSesPrehDodOdDo;

class OverviewScreens : public WindowFamily<OverviewScreens> {
public:
    // The period dialog of the deliveries overview, run modally; the dates and choices
    // are left in the dialog's commands. Centred over the main window. Returns mrOk or
    // mrCancel.
    virtual int ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog) = 0;
};

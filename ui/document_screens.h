#pragma once
// The document windows the list and the source-document editor open.

#include "core/window_family.h"

#include <QPoint>

class TDokladPodklady;
class TPodkladyPolEdit;

class DocumentScreens : public WindowFamily<DocumentScreens> {
public:
    // Each runs its window modally at pos (its top-left corner on the screen) and returns
    // its result (mrOk or mrCancel).
    // The source-document editor working on the current header of ffPodklHlav.
    virtual int ShowDokladPodklady(TDokladPodklady &editor, QPoint pos) = 0;
    // The item editor working on the current row of ffPodklPol.
    virtual int ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint pos) = 0;
};

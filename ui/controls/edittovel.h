#pragma once
// TEditTovel: the unbound input of the windows. A single-line edit with a typed edit mode
// (only digits and separators can be typed in the numeric, date and time modes; a
// shortened date or time is completed against today) and an optional side button.

#include "sidebutton.h"
#include "typedlineedit.h"

class TEditTovel : public TypedLineEdit, public SideButtonControl {
    Q_OBJECT
public:
    // An empty plain-text input (ttString) with EnterIsTab on and the side button hidden.
    explicit TEditTovel(QWidget *parent = nullptr);

protected:
    bool acceptTyped(QChar &c) override;
};

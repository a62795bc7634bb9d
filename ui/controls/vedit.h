#pragma once
// TVEdit: the unbound input of the search dialogs. Like TEditTovel without the side
// button: it filters no characters, and in the date and time modes it only checks the
// text and writes it back in full (no completion).

#include "typedlineedit.h"

class TVEdit : public TypedLineEdit {
    Q_OBJECT
public:
    // An empty plain-text input (ttString) with EnterIsTab on.
    explicit TVEdit(QWidget *parent = nullptr);

protected:
    bool acceptTyped(QChar &c) override;
    // With a border: a one-pixel frame in the window-frame colour, and the text kept a
    // quarter of the font height from it.
    QRect paintAlignedBackground(QPainter &painter) override;
};

#pragma once
// The dialog the import of a prepared delivery opens.

#include "core/window_family.h"

class TFormPodkladyImport;

class ImportScreens : public WindowFamily<ImportScreens> {
public:
    // The dialog asking for the number of a prepared delivery to import, run modally;
    // the typed number is left in the form's EditTovel1Text. Centred over the main
    // window. Returns mrOk or mrCancel.
    virtual int ShowFormPodkladyImport(TFormPodkladyImport &form) = 0;
};

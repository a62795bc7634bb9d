#pragma once
// The review window of a supplier's e-invoice, opened by the list.

#include "core/window_family.h"

class TFakturaDodavatele;

class InvoiceScreens : public WindowFamily<InvoiceScreens> {
public:
    // The review window "Faktura dodavatele" of a supplier's e-invoice read into
    // `review`, run modally; mrOk when the document was written.
    virtual int ShowFakturaDodavatele(TFakturaDodavatele &review) = 0;
};

#pragma once
// The windows of a report run (TSestavy).

#include "core/window_family.h"

#include <memory>

class TSestavy;
class TSestavyProgress;
struct TSestavySetup;

class ReportScreens : public WindowFamily<ReportScreens> {
public:
    // The setup dialog "Nastavení tisku sestavy", offering the choices in setup.choices;
    // mrOk with the destination, copies, printer and file chosen in setup, mrCancel ends
    // the run without output.
    virtual int ShowSestavySetup(TSestavySetup &setup) = 0;
    // The progress window "Stav přípravy tisku", open until the object is destroyed.
    virtual std::unique_ptr<TSestavyProgress> ShowSestavyProgress() = 0;
    // The modal preview "Náhled před tiskem" of the generated pages, from which "&Tisk"
    // prints them (TSestavy::PrintPages) on a printer the user chooses.
    virtual void ShowSestavyPreview(const TSestavy &report) = 0;
    // The pages sent to the printer, copies and printer of report.Setup().
    virtual void PrintSestavy(const TSestavy &report) = 0;
};

#pragma once
// The windows of every family in one object, installed for its lifetime: the base of
// the program's real windows and of the tests' scripted ones.

#include "document_screens.h"
#include "file_dialogs.h"
#include "invoice_screens.h"
#include "overview_screens.h"
#include "picker_screens.h"
#include "import/import_screens.h"
#include "reports/report_screens.h"

class AllScreens : public DocumentScreens,
                   public PickerScreens,
                   public ImportScreens,
                   public OverviewScreens,
                   public FileDialogs,
                   public InvoiceScreens,
                   public ReportScreens {
private:
    InstalledWindows<DocumentScreens, PickerScreens, ImportScreens, OverviewScreens, FileDialogs, InvoiceScreens,
                     ReportScreens>
        m_installed{*this};
};

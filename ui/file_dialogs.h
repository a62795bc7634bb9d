#pragma once
// The file dialogs the list opens for an export and for a supplier's e-invoice.

#include "core/window_family.h"

#include <QString>

class FileDialogs : public WindowFamily<FileDialogs> {
public:
    // The save-file dialog: title, starting directory, proposed file name, filter (Qt's
    // "description (*.ext)" form) and the suffix added to a name typed without one; it
    // asks before an existing file is overwritten. Returns the chosen path, or an empty
    // text when the user cancelled.
    virtual QString GetSaveFileName(const QString &title, const QString &dir, const QString &name,
                                    const QString &filter, const QString &defaultSuffix) = 0;
    // The open-file dialog: title, starting directory and filter (Qt's "description
    // (*.ext …)" form). Returns the chosen path, or an empty text when the user cancelled.
    virtual QString GetOpenFileName(const QString &title, const QString &dir, const QString &filter) = 0;
};

#pragma once
// The export of one source document, with its supplier and its items, to an XML file:
// the hand-over format of a receipt to the rest of the shop system (root PRENOS, one
// DOKLAD of type "Dod"), written in Windows-1250.

#include <QString>
#include <functional>

class TData;

// Asks the user where to save: title, starting directory, proposed file name, filter (in
// Qt's "description (*.ext)" form) and the suffix added to a name typed without one.
// Returns the chosen path, or an empty text when the user cancelled.
using SaveFileDialog = std::function<QString(const QString &title, const QString &dir, const QString &name,
                                             const QString &filter, const QString &defaultSuffix)>;

// Exports the current header of ffPodklHlav (which stays current) to the file the user
// chooses in askFileName, starting in ExportPath with the document number as the name.
// The file appears whole or not at all: it is collected in memory and replaces a file
// of that name only once every byte is written. The items, the assortment and the
// suppliers are read through cursors of the export's own: their components (ffPodklPol,
// ffSortiment, ffDodavatele) are not touched. Returns true when the file was written
// (and "Soubor dodávky <number>.xml vytvořen." shown); false when the list is empty, the
// user cancelled, or the document's supplier is not in the register (said in a
// message). Throws AppError when the file cannot be created or written ("Cannot create
// file <path>"), CodePageError when a value has no Windows-1250 form, and the store's
// errors; no file is left behind by any of them.
bool ExportPodkladXml(TData &d, const SaveFileDialog &askFileName);

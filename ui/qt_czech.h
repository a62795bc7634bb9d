#pragma once
// Qt's own texts in Czech: the standard buttons of message boxes ("Zrušit"), the save
// dialog and the other windows the toolkit draws, from Qt's translation catalogue.

// Installs the Czech catalogue of Qt on the application (once; later calls do nothing).
// False when the catalogue is not installed on this computer (Qt then stays in English).
// Requires a QCoreApplication.
bool InstallQtCzech();

#include "qt_czech.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtCzech()
{
    static QTranslator *installed = nullptr;
    if (installed)
        return true;
    auto *catalogue = new QTranslator(QCoreApplication::instance());
    if (!catalogue->load(QLocale(QLocale::Czech, QLocale::Czechia), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(catalogue)) {
        delete catalogue;
        return false;
    }
    installed = catalogue;
    return true;
}

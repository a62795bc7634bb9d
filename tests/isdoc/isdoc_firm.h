#pragma once
// The firm the e-invoice tests import into: a document counter at 123, the supplier Alfa
// (IČO 12345678; its insert took 42 of the supplier counter at 41, so the next new
// supplier is 000043) and the cards the invoice fixtures name, one way of matching each:
//   000010 Šroub M6   card number
//   000020 Matice M6  EAN 8594000000013
//   000030 Podložka   supplier's code AB-77
//   000040, 000041    the same EAN 8594000000020 (ambiguous)
//   000050 Vyřazená   EAN 8594000000037 and supplier's code OLD-1, withdrawn
//   000060 Hřebík     EAN-8 12345670, for the scanner

#include "firm_tables.h"

#include "store/tdata.h"

#include <QString>

inline QString IsdocFixture(const char *name)
{
    return QStringLiteral(ISDOC_FIXTURES "/") + QLatin1String(name);
}

inline void FillIsdocFirm(TData &d)
{
    AppendRow(d.ffCiselnik, {{d.ffCiselnikCIS_POD, "123"}, {d.ffCiselnikCIS_ODB, 41.0}});
    AppendRow(d.ffDodavatele, {{d.ffDodavateleDOD_KOD, "000001"}, {d.ffDodavateleDOD_ICO, "12345678"},
                               {d.ffDodavateleDOD_FIR, "Alfa s.r.o."}, {d.ffDodavateleDOD_MES, "Brno"}});
    struct Card {
        const char *kav, *name, *ean, *kdo;
        bool old;
    };
    const Card cards[] = {
        {"000010", "Šroub M6", "", "", false},
        {"000020", "Matice M6", "8594000000013", "", false},
        {"000030", "Podložka", "", "AB-77", false},
        {"000040", "Kolík A", "8594000000020", "", false},
        {"000041", "Kolík B", "8594000000020", "", false},
        {"000050", "Vyřazená", "8594000000037", "OLD-1", true},
        {"000060", "Hřebík", "12345670", "", false},
    };
    for (const Card &c : cards)
        AppendRow(d.ffSortiment, {{d.ffSortimentSOR_KAV, c.kav}, {d.ffSortimentSOR_NAC, QString::fromUtf8(c.name)},
                                  {d.ffSortimentSOR_EAN, c.ean}, {d.ffSortimentSOR_KDO, c.kdo},
                                  {d.ffSortimentSOR_OLD, c.old}});
}

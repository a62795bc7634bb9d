// The catalogue of the shared database: one table component per table, 76 in all.
// Per-firm tables are named prefix + firm number, shared tables have fixed names
// ending in "0000", the lock table is "SYS0001" for every firm. Tables that this
// system never opens are named here and carry no fields.

#include "tables.h"
#include "builders.h"

#include <deque>

namespace store::tables {

using namespace build;

namespace {

struct Entry {
    const char *component;
    const char *name;              // per-firm: the prefix; otherwise the fixed name
    bool perFirmTable;
    const TableDef &(*used)();     // the full definition of a table this system uses
};

const Entry kEntries[] = {
    {"ffDenik", "Den", true, denik},
    {"ffSklad", "Skl", true, sklad},
    {"ffSortiment", "Sor", true, sortiment},
    {"ffCiselnik", "Cis", true, ciselnik},
    {"ffFaktury", "Fak", true, nullptr},
    {"ffDodavky", "Prd", true, dodavky},
    {"ffDodavatele", "Dod", true, dodavatele},
    {"ffOdberatele", "Ext", true, nullptr},
    {"ffOdbPob", "Exp", true, nullptr},
    {"ffPrijemky", "Pri", true, nullptr},
    {"ffVydejky", "Vyd", true, nullptr},
    {"ffDobropisy", "Dob", true, nullptr},
    {"ffPrecHlav", "Prh", true, nullptr},
    {"ffPrecPol", "Prp", true, nullptr},
    {"ffInveHlav", "Ihl", true, nullptr},
    {"ffInvePol", "IPl", true, nullptr},
    {"ffInveSkl", "Ips", true, nullptr},
    {"ffPoznamky", "Poz", true, nullptr},
    {"ffVratky", "Vrd", true, nullptr},
    {"ffVypisy", "Vyp", true, nullptr},
    {"ffUctenky", "Uce", true, nullptr},
    {"ffVycetky", "Vct", true, nullptr},
    {"ffObjHlav", "OBJ", true, nullptr},
    {"ffObjPol", "OBP", true, nullptr},
    {"ffProformy", "Prf", true, nullptr},
    {"ffBlokacePolozky", "Blo", true, nullptr},
    {"ffPokladna", "Pla", true, nullptr},
    {"ffFaktSlevy", "FAS", true, faktSlevy},
    {"ffObchodnici", "OBC", true, nullptr},
    {"ffZakVydejky", "VMA", true, nullptr},
    {"ffFakZakazky", "Fma", true, nullptr},
    {"ffFakZakInt", "Fmi", true, nullptr},
    {"ffSkladPujc", "Skp", true, nullptr},
    {"ffDenikPujc", "Dep", true, nullptr},
    {"ffZapujDen", "ZAP", true, nullptr},
    {"ffPujcky", "PUJ", true, nullptr},
    {"ffZapVratky", "VRA", true, nullptr},
    {"ffDodavkyPujc", "Ppd", true, nullptr},
    {"ffVydejkyPujc", "Vpu", true, nullptr},
    {"ffPrijemkyPujc", "Ppu", true, nullptr},
    {"ffVratkyPujc", "Vrp", true, nullptr},
    {"ffFakOdpro", "FAO", true, nullptr},
    {"ffFakNajem", "FAN", true, nullptr},
    {"ffFakNajemInt", "FAI", true, nullptr},
    {"ffFakVolPol", "FAP", true, nullptr},
    {"ffFakVolHla", "FAL", true, nullptr},
    {"ffNabHlav", "Nah", true, nullptr},
    {"ffNabPol", "Nap", true, nullptr},
    {"ffPodklHlav", "POD", true, podklHlav},
    {"ffPodklPol", "POP", true, podklPol},

    {"ffMaska", "Mas0000", false, nullptr},
    {"ffProdejny", "Org0000", false, nullptr},
    {"ffSlevaSkupina", "SLS0000", false, nullptr},
    {"ffSlevaKarta", "SLK0000", false, nullptr},
    {"ffSortiSkup", "SSK0000", false, nullptr},
    {"ffCeniky", "CEN0000", false, ceniky},
    {"ffFormaUhrady", "Fuh0000", false, nullptr},
    {"ffFormaDopravy", "FDO0000", false, nullptr},
    {"ffTypVydeje", "Typ0000", false, nullptr},
    {"ffUzivatele", "Usr0000", false, uzivatele},
    {"ffUziPrava", "Urs0000", false, nullptr},
    {"ffUzivSkup", "Ugr0000", false, nullptr},
    {"ffUziPopPrav", "Urt0000", false, nullptr},
    {"ffVlastnik", "Vla0000", false, vlastnik},
    {"ffSortiDruh", "SDR0000", false, nullptr},
    {"ffSortiPodSkp", "SPK0000", false, nullptr},
    {"ffSortiVyrobce", "Svr0000", false, nullptr},
    {"ffMjeJed", "Mje0000", false, nullptr},
    {"ffHlasky", "Msg0000", false, nullptr},
    {"ffInveTyp", "Int0000", false, nullptr},
    {"ffTypOdberatele", "Esk0000", false, nullptr},
    {"ffFinOperace", "Fin0000", false, nullptr},
    {"ffTypSlevOdb", "ESL0000", false, nullptr},
    {"ffTypySlevFaktura", "FTS0000", false, nullptr},
    {"ffTypPlatby", "Bpt0000", false, nullptr},

    {"ffSemafor", "SYS0001", false, semafor},
};

QVector<const TableDef *> buildCatalogue()
{
    // A deque never moves its elements, so the pointers handed out stay valid.
    static std::deque<TableDef> unused;
    QVector<const TableDef *> list;
    for (const Entry &e : kEntries) {
        if (e.used) {
            list.append(&e.used());
            continue;
        }
        const QString component = QString::fromLatin1(e.component);
        const QString name = QString::fromLatin1(e.name);
        unused.push_back(e.perFirmTable ? perFirm(component, name) : fixedName(component, name));
        list.append(&unused.back());
    }
    return list;
}

} // namespace

const QVector<const TableDef *> &catalogue()
{
    static const QVector<const TableDef *> list = buildCatalogue();
    return list;
}

const TableDef *findComponent(const QString &component)
{
    for (const TableDef *t : catalogue())
        if (t->component == component)
            return t;
    return nullptr;
}

QVector<const TableDef *> schemaTables()
{
    QVector<const TableDef *> list;
    for (const TableDef *t : catalogue()) {
        if (t->fields.isEmpty())
            continue;
        list.append(t == &dodavky() ? &dodavkyFull() : t);
    }
    return list;
}

} // namespace store::tables

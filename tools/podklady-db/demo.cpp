// Writes the demo shop through the table component, so that every hidden column the
// store keeps (record ids, capitals of case-insensitive keys) is filled as the program
// itself fills it.

#include "demo.h"

#include "demo_data.h"
#include "demo_model.h"

#include "core/codepage.h"
#include "core/textutil.h"
#include "store/database.h"
#include "store/table.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"

#include <initializer_list>
#include <utility>

namespace {

using Values = std::initializer_list<std::pair<const char *, QVariant>>;

// One table of the database, open for appending.
class Writer {
public:
    Writer(store::Database &db, const store::TableDef &def, const QString &firmNumber)
        : m_table(&def)
    {
        m_table.SetDatabase(&db);
        m_table.SetTableName(def.nameForFirm(firmNumber));
        m_table.Open();
    }
    ~Writer() { m_table.Close(); }

    bool isEmpty() { return m_table.IsEmpty(); }
    void append(Values values)
    {
        m_table.Append();
        for (const auto &[field, value] : values)
            m_table.FieldByName(QLatin1String(field)).SetValue(value);
        m_table.Post();
    }

private:
    store::Table m_table;
};

QString slug(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c.toLower();
    return out;
}

QString phone(int seed)
{
    return QStringLiteral("+420 5%1 %2 %3")
        .arg(10 + seed % 89, 2, 10, QChar(u'0'))
        .arg(100 + (seed * 37) % 900)
        .arg(100 + (seed * 53) % 900);
}

QString mobile(int seed)
{
    return QStringLiteral("+420 6%1 %2 %3")
        .arg(seed % 10 * 10 + 2, 2, 10, QChar(u'0'))
        .arg(100 + (seed * 41) % 900)
        .arg(100 + (seed * 71) % 900);
}

void writeShared(store::Database &db, const QString &firm, const QString &logonName, DemoSummary &s)
{
    using namespace store::tables::column::ffCeniky;
    using namespace store::tables::column::ffVlastnik;
    using namespace store::tables::column::ffUzivatele;
    Writer cen(db, store::tables::ceniky(), firm);
    if (cen.isEmpty()) {
        cen.append({{CEN_KOD, "1"}, {CEN_NAC, "Maloobchodní ceník"}, {CEN_DPH, true}, {CEN_REF, 1}});
        cen.append({{CEN_KOD, "2"}, {CEN_NAC, "Velkoobchodní ceník"}, {CEN_DPH, false}, {CEN_REF, 2}});
        s.priceLists = 2;
    }

    Writer vla(db, store::tables::vlastnik(), firm);
    if (vla.isEmpty()) {
        vla.append({{VLA_KOD, "000001"}, {VLA_ICO, "25512340"}, {VLA_DIC, "CZ25512340"},
                    {VLA_JED, firm}, {VLA_FIR, "Železářství Kramora s.r.o."},
                    {VLA_NAC, "Prodejna Brno - Královo Pole"}, {VLA_ULI, "Palackého třída 112"},
                    {VLA_MES, "Brno"}, {VLA_PSC, "612 00"}, {VLA_STA, "Česká republika"},
                    {VLA_TEL, "+420 541 212 345"}, {VLA_FAX, "+420 541 212 399"},
                    {VLA_EML, "prodejna@kramora.cz"}, {VLA_JME, "Ing. Tomáš Hrubý"},
                    {VLA_MOB, "+420 603 123 456"}, {VLA_KON, "0308"}});
        s.owner = true;
    }

    Writer usr(db, store::tables::uzivatele(), firm);
    if (!usr.isEmpty())
        return;
    QVector<DemoUser> users = demoUsers();
    // The person running the tool logs in automatically: the program looks the log-on
    // name up in capitals, cut to 10 characters.
    const QString login = UpperLocale(TrimControl(logonName).left(10));
    bool taken = false;
    for (const DemoUser &u : users)
        taken = taken || u.login == login;
    if (!login.isEmpty() && !taken && fitsWin1250(login)) {
        DemoUser op = demoOperator();
        op.login = login;
        users.prepend(op);
        s.operatorLogin = login;
    }
    for (const DemoUser &u : users) {
        usr.append({{USR_KOD, u.code}, {USR_LNA, u.login}, {USR_PSW, u.password},
                    {USR_INI, u.initials}, {USR_GRP, u.group}, {USR_NAC, u.fullName},
                    {USR_TEL, u.phone}, {USR_EML, u.email}});
        ++s.users;
    }
}

void writeSuppliers(store::Database &db, const QString &firm, const DemoModel &m)
{
    using namespace store::tables::column::ffDodavatele;
    static const char *const departments[] = {"Obchodní oddělení", "Velkoobchod", "Prodej", "Odbyt"};
    Writer dod(db, store::tables::dodavatele(), firm);
    for (int i = 0; i < m.suppliers.size(); ++i) {
        const DemoSupplier &d = demoSuppliers()[i];
        const QString domain = slug(d.name.section(u' ', 0, 1)) + (d.foreign ? ".eu" : ".cz");
        dod.append({{DOD_KOD, m.suppliers[i].code}, {DOD_ICO, m.suppliers[i].ico},
                    {DOD_DIC, m.suppliers[i].dic}, {DOD_JED, firm}, {DOD_FIR, d.name},
                    {DOD_NAC, departments[i % 4]}, {DOD_ULI, d.street}, {DOD_MES, d.town},
                    {DOD_PSC, d.postCode}, {DOD_STA, d.country}, {DOD_TEL, phone(i)},
                    {DOD_FAX, phone(i + 500)}, {DOD_EML, "obchod@" + domain},
                    {DOD_JME, d.contact}, {DOD_MOB, mobile(i)},
                    {DOD_SKU, d.foreign ? "002" : "001"}});
    }
}

void writeCards(store::Database &db, const QString &firm, const DemoModel &m)
{
    using namespace store::tables::column::ffSortiment;
    using namespace store::tables::column::ffSklad;
    Writer sor(db, store::tables::sortiment(), firm);
    Writer skl(db, store::tables::sklad(), firm);
    for (const DemoCard &c : m.cards) {
        const DemoGroup &g = demoGroups()[c.group];
        sor.append({{SOR_KAV, c.number}, {SOR_NAC, c.name}, {SOR_PC1, c.prices[0]},
                    {SOR_PC2, c.prices[1]}, {SOR_PC3, c.prices[2]}, {SOR_PC4, c.prices[3]},
                    {SOR_PC5, c.prices[4]}, {SOR_STA, c.stock()}, {SOR_DAN, g.vatRate},
                    {SOR_SKL, g.stock}, {SOR_OLD, c.withdrawn}, {SOR_SKU, g.code},
                    {SOR_BLO, c.blocked}, {SOR_VYR, c.maker}, {SOR_MJE, g.unit},
                    {SOR_HMO, c.weight}, {SOR_BAL, c.package}, {SOR_DRU, "001"},
                    {SOR_PSK, c.subgroup}, {SOR_EAN, c.ean}, {SOR_POZ, c.note},
                    {SOR_PPO, c.lastMove}, {SOR_MIN, c.minimum}, {SOR_SLE, c.maxDiscount},
                    {SOR_KDO, c.supplierCode}, {SOR_KVY, c.makerCode}, {SOR_INP, true},
                    {SOR_OUT, true}, {SOR_ALI, c.alias}});
        for (const DemoVariant &v : c.variants)
            skl.append({{SKL_KAV, c.number}, {SKL_IND, v.code}, {SKL_SNC, v.price},
                        {SKL_POC, v.opening}, {SKL_STA, v.stock}, {SKL_MEN, "CZK"},
                        {SKL_KUR, 1.0}, {SKL_POP, v.opening}, {SKL_STP, v.stock}});
    }
}

void writeDocuments(store::Database &db, const QString &firm, const DemoModel &m)
{
    using namespace store::tables::column::ffPodklHlav;
    using namespace store::tables::column::ffPodklPol;
    Writer pod(db, store::tables::podklHlav(), firm);
    Writer pop(db, store::tables::podklPol(), firm);
    for (const DemoDocument &d : m.documents) {
        const DemoSupplier &sup = demoSuppliers()[d.supplier];
        pod.append({{HLA_DAT, d.date}, {HLA_DO1, d.number}, {HLA_DO2, d.invoice},
                    {HLA_DDO, d.date}, {HLA_ODB, m.suppliers[d.supplier].code},
                    {HLA_NAC, sup.name}, {HLA_NCA, d.stockTotal}, {HLA_FAC, d.foreignTotal},
                    {HLA_MEN, d.currency}, {HLA_KUR, d.rate}, {HLA_EUR, d.foreignTotal}});
        for (const DemoItem &it : d.items) {
            const DemoCard &c = m.cards[it.card];
            pop.append({{POP_DOK, d.number}, {POP_KAV, c.number}, {POP_NAC, c.name},
                        {POP_CKU, it.delivered}, {POP_CNC, it.unitPrice},
                        {POP_PRI, it.markup}, {POP_BAL, it.perPackage},
                        {POP_KUS, it.packages}, {POP_NCS, it.stockPrice}});
        }
    }
}

void writeReceipts(store::Database &db, const QString &firm, const DemoModel &m, const QString &initials)
{
    using namespace store::tables::column::ffSesDod;
    using namespace store::tables::column::ffDenik;
    // The receipts' own type field is written through the full definition.
    Writer prd(db, store::tables::dodavkyFull(), firm);
    Writer den(db, store::tables::denik(), firm);
    for (const DemoReceipt &r : m.receipts) {
        const DemoSupplier &sup = demoSuppliers()[r.supplier];
        prd.append({{HLA_DAT, r.date}, {HLA_DO1, r.number}, {HLA_TYP, "DOD"},
                    {HLA_DO2, r.invoice}, {HLA_DDO, r.date},
                    {HLA_ODB, m.suppliers[r.supplier].code}, {HLA_NAC, sup.name},
                    {HLA_NCA, r.stockTotal}, {HLA_PCA, r.saleTotal}, {HLA_EDT, false},
                    {HLA_FAC, r.invoiced}});
        for (const DemoEntry &e : r.entries) {
            const DemoCard &c = m.cards[e.card];
            den.append({{DEN_DAT, r.date}, {DEN_DOK, r.number}, {DEN_KAV, c.number},
                        {DEN_IND, e.variant < 0 ? QStringLiteral("000") : c.variants[e.variant].code},
                        {DEN_OPE, "001"}, {DEN_KUS, e.quantity}, {DEN_HPC, e.saleValue},
                        {DEN_HNC, e.stockValue}, {DEN_DAN, demoGroups()[c.group].vatRate},
                        {DEN_ZAS, e.stockAfter}, {DEN_REF, initials}, {DEN_KDY, e.time}});
        }
    }
}

} // namespace

DemoSummary LoadDemo(store::Database &db, const QString &firmNumber, const QString &logonName,
                     const QDate &today)
{
    const DemoModel m = BuildDemoModel(today);
    DemoSummary s;
    CounterStart start;
    start.entries = m.entryCount();
    start.suppliers = int(m.suppliers.size());
    start.receipts = int(m.receipts.size());
    start.documents = int(m.documents.size());
    WriteCounterRow(db, firmNumber, start);
    writeShared(db, firmNumber, logonName, s);
    writeSuppliers(db, firmNumber, m);
    writeCards(db, firmNumber, m);
    writeDocuments(db, firmNumber, m);
    writeReceipts(db, firmNumber, m, demoOperator().initials);

    s.suppliers = m.suppliers.size();
    s.cards = m.cards.size();
    for (const DemoCard &c : m.cards)
        s.variants += c.variants.size();
    s.documents = m.documents.size();
    for (const DemoDocument &d : m.documents)
        s.items += d.items.size();
    s.receipts = m.receipts.size();
    s.entries = m.entryCount();
    return s;
}

void WriteCounterRow(store::Database &db, const QString &firmNumber, const CounterStart &start)
{
    using namespace store::tables::column::ffCiselnik;
    Writer cis(db, store::tables::ciselnik(), firmNumber);
    // Every text counter starts as a number, so that any kind of document can be
    // numbered; the three this program uses continue after the numbers given out.
    cis.append({
        {CIS_DEN, start.entries},
        {CIS_DEP, 0},
        {CIS_ZPD, 0},
        {CIS_ODB, start.suppliers},
        {CIS_PRD, QString::number(start.receipts)},
        {CIS_VRD, "0"}, {CIS_VYD, "0"}, {CIS_PRI, "0"}, {CIS_FAK, "0"}, {CIS_SML, "0"},
        {CIS_FIN, "0"}, {CIS_UCE, "0"}, {CIS_VCT, "0"}, {CIS_PRF, "0"}, {CIS_DOB, "0"},
        {CIS_PRC, "0"}, {CIS_INV, "0"}, {CIS_OBJ, "0"}, {CIS_PPD, "0"}, {CIS_VPU, "0"},
        {CIS_PPU, "0"}, {CIS_VRP, "0"}, {CIS_PUJ, "0"}, {CIS_VRA, "0"}, {CIS_FAO, "0"},
        {CIS_FAN, "0"},
        {CIS_POD, QString::number(start.documents)},
        {CIS_FAI, "0"}, {CIS_ZVY, "0"}, {CIS_ZFA, "0"}, {CIS_ZFI, "0"}, {CIS_PIN, "0"},
        {CIS_PPR, "0"}, {CIS_FAL, "0"}, {CIS_NAB, "0"}, {CIS_OBD, "0"},
    });
}

void WriteOwner(store::Database &db, const QString &firmNumber, const OwnerFields &owner)
{
    using namespace store::tables::column::ffVlastnik;
    Writer vla(db, store::tables::vlastnik(), firmNumber);
    vla.append({{VLA_KOD, "000001"}, {VLA_JED, firmNumber}, {VLA_FIR, owner.name}, {VLA_ULI, owner.street},
                {VLA_MES, owner.town}});
}

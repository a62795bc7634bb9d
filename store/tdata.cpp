#include "tdata.h"

#include "app/core/textutil.h"
#include "store/counter.h"
#include "store/table_use.h"
#include "store/transaction.h"
#include "store/tables/tables.h"

#include <stdexcept>

TData *Data = nullptr;

const QString TData::kDefaultUserFullName = QStringLiteral("Dvořák Petr        ");

namespace {

const store::TableDef *catalogueEntry(const QString &component)
{
    const store::TableDef *def = store::tables::findComponent(component);
    if (!def)
        throw std::logic_error("table component missing from the catalogue: " + component.toStdString());
    return def;
}

// Opens a table when it is closed and selects the index unless its name is blank. An
// open that fails gives false; an index error on a table already open is raised.
bool openWithIndex(store::Table &table, const QString &indexName)
{
    const bool selectIndex = !TrimControl(indexName).isEmpty();
    if (table.Active()) {
        if (selectIndex)
            table.SetIndexName(indexName);
        return true;
    }
    try {
        table.Open();
        if (selectIndex)
            table.SetIndexName(indexName);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void closeIfOpen(store::Table &table)
{
    if (table.Active())
        table.Close();
}

bool remember(store::Table &table, const QString &codeField, bool &isSet, QString &code,
              QString &indexName)
{
    try {
        // Only a table without a current record (closed, or empty) has nothing to
        // remember; after Last or a Next past the end the last record is current.
        if (!table.Active() || table.IsEmpty())
            return false;
        const QString index = table.IndexName();
        const QString value = table.FieldByName(codeField).AsString();
        indexName = index;
        code = value;
        isSet = true;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool goBack(store::Table &table, const QString &codeIndex, bool isSet, const QString &code,
            const QString &indexName)
{
    if (!isSet)
        return false;
    try {
        table.SetIndexName(codeIndex);
        table.FindKey({code});
        table.SetIndexName(indexName);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

// Each member takes the catalogue entry of its own name, so member and table cannot be
// mixed up; a member missing from the catalogue fails at construction.
#define TABLE(name) name(catalogueEntry(QStringLiteral(#name)))

TData::TData(QObject *parent)
    : QObject(parent),
      TABLE(ffDenik),
      TABLE(ffSklad),
      TABLE(ffSortiment),
      TABLE(ffCiselnik),
      TABLE(ffFaktury),
      TABLE(ffDodavky),
      TABLE(ffDodavatele),
      TABLE(ffOdberatele),
      TABLE(ffOdbPob),
      TABLE(ffPrijemky),
      TABLE(ffVydejky),
      TABLE(ffDobropisy),
      TABLE(ffPrecHlav),
      TABLE(ffPrecPol),
      TABLE(ffInveHlav),
      TABLE(ffInvePol),
      TABLE(ffInveSkl),
      TABLE(ffPoznamky),
      TABLE(ffVratky),
      TABLE(ffVypisy),
      TABLE(ffUctenky),
      TABLE(ffVycetky),
      TABLE(ffObjHlav),
      TABLE(ffObjPol),
      TABLE(ffProformy),
      TABLE(ffBlokacePolozky),
      TABLE(ffPokladna),
      TABLE(ffFaktSlevy),
      TABLE(ffObchodnici),
      TABLE(ffZakVydejky),
      TABLE(ffFakZakazky),
      TABLE(ffFakZakInt),
      TABLE(ffSkladPujc),
      TABLE(ffDenikPujc),
      TABLE(ffZapujDen),
      TABLE(ffPujcky),
      TABLE(ffZapVratky),
      TABLE(ffDodavkyPujc),
      TABLE(ffVydejkyPujc),
      TABLE(ffPrijemkyPujc),
      TABLE(ffVratkyPujc),
      TABLE(ffFakOdpro),
      TABLE(ffFakNajem),
      TABLE(ffFakNajemInt),
      TABLE(ffFakVolPol),
      TABLE(ffFakVolHla),
      TABLE(ffNabHlav),
      TABLE(ffNabPol),
      TABLE(ffPodklHlav),
      TABLE(ffPodklPol),
      TABLE(ffMaska),
      TABLE(ffProdejny),
      TABLE(ffSlevaSkupina),
      TABLE(ffSlevaKarta),
      TABLE(ffSortiSkup),
      TABLE(ffCeniky),
      TABLE(ffFormaUhrady),
      TABLE(ffFormaDopravy),
      TABLE(ffTypVydeje),
      TABLE(ffUzivatele),
      TABLE(ffUziPrava),
      TABLE(ffUzivSkup),
      TABLE(ffUziPopPrav),
      TABLE(ffVlastnik),
      TABLE(ffSortiDruh),
      TABLE(ffSortiPodSkp),
      TABLE(ffSortiVyrobce),
      TABLE(ffMjeJed),
      TABLE(ffHlasky),
      TABLE(ffInveTyp),
      TABLE(ffTypOdberatele),
      TABLE(ffFinOperace),
      TABLE(ffTypSlevOdb),
      TABLE(ffTypySlevFaktura),
      TABLE(ffTypPlatby),
      TABLE(ffSemafor),
      DokladObsah(&store::tables::dokladObsah()),
      SumUhrada(&store::tables::sumUhrada()),
      HistoriePujcky(&store::tables::historiePujcky()),
      DataPodklHlav(&ffPodklHlav),
      DataPodklPol(&ffPodklPol),
      DataSorti(&ffSortiment),
      DataSklad(&ffSklad),
      DataDodavatele(&ffDodavatele),
      DataCiselnik(&ffCiselnik),
      DataCeniky(&ffCeniky),
      DataVlastnik(&ffVlastnik),
      DataDodavky(&ffDodavky),
      DataDenik(&ffDenik),
      DataDokladObsah(&DokladObsah),
      DataFaktSlevy(&ffFaktSlevy)
#undef TABLE
{
    VatRateHigh = 22;
    VatRateLow = 5;
    VatRateZero = 0;

    m_tables = {&ffDenik, &ffSklad, &ffSortiment, &ffCiselnik, &ffFaktury, &ffDodavky,
                &ffDodavatele, &ffOdberatele, &ffOdbPob, &ffPrijemky, &ffVydejky,
                &ffDobropisy, &ffPrecHlav, &ffPrecPol, &ffInveHlav, &ffInvePol, &ffInveSkl,
                &ffPoznamky, &ffVratky, &ffVypisy, &ffUctenky, &ffVycetky, &ffObjHlav,
                &ffObjPol, &ffProformy, &ffBlokacePolozky, &ffPokladna, &ffFaktSlevy,
                &ffObchodnici, &ffZakVydejky, &ffFakZakazky, &ffFakZakInt, &ffSkladPujc,
                &ffDenikPujc, &ffZapujDen, &ffPujcky, &ffZapVratky, &ffDodavkyPujc,
                &ffVydejkyPujc, &ffPrijemkyPujc, &ffVratkyPujc, &ffFakOdpro, &ffFakNajem,
                &ffFakNajemInt, &ffFakVolPol, &ffFakVolHla, &ffNabHlav, &ffNabPol,
                &ffPodklHlav, &ffPodklPol, &ffMaska, &ffProdejny, &ffSlevaSkupina,
                &ffSlevaKarta, &ffSortiSkup, &ffCeniky, &ffFormaUhrady, &ffFormaDopravy,
                &ffTypVydeje, &ffUzivatele, &ffUziPrava, &ffUzivSkup, &ffUziPopPrav,
                &ffVlastnik, &ffSortiDruh, &ffSortiPodSkp, &ffSortiVyrobce, &ffMjeJed,
                &ffHlasky, &ffInveTyp, &ffTypOdberatele, &ffFinOperace, &ffTypSlevOdb,
                &ffTypySlevFaktura, &ffTypPlatby, &ffSemafor};
    for (store::Table *table : m_tables)
        table->SetDatabase(&Database);

    MemDatabase.ConnectInMemory();
    for (store::Table *work : {&DokladObsah, &SumUhrada, &HistoriePujcky}) {
        MemDatabase.CreateTable(work->Definition(), work->Definition().builtInName);
        work->SetDatabase(&MemDatabase);
        work->SetTableName(work->Definition().builtInName);
    }

    ffPodklPol.OnCalcFields = [this](store::Record &r) { ffPodklPolCalcFields(r); };
    ffSortiment.OnCalcFields = [this](store::Record &r) { SortimentCalcFields(r); };
    ffCeniky.OnCalcFields = [this](store::Record &r) { ffCenikyCalcFields(r); };
    ffDodavatele.OnAfterInsert = [this](store::Table &t) { ffDodavateleAfterInsert(t); };

    Data = this;
}

TData::~TData()
{
    for (store::Table *table : m_tables)
        table->Close();
    for (store::Table *work : {&DokladObsah, &SumUhrada, &HistoriePujcky})
        work->Close();
    if (Data == this)
        Data = nullptr;
}

store::Table *TData::TableByComponent(const QString &component) const
{
    for (store::Table *table : m_tables)
        if (table->Definition().component == component)
            return table;
    return nullptr;
}

void TData::SetTableNames()
{
    for (store::Table *table : m_tables)
        table->SetTableName(table->Definition().nameForFirm(FirmNumber));
}

bool TData::OpenffSor(int, const QString &indexName)
{
    return openWithIndex(ffSortiment, indexName);
}

void TData::CloseffSor()
{
    closeIfOpen(ffSortiment);
}

bool TData::OpenffDen(int, const QString &indexName)
{
    return openWithIndex(ffDenik, indexName);
}

void TData::CloseffDenik()
{
    closeIfOpen(ffDenik);
}

void TData::CloseffDod()
{
    closeIfOpen(ffDodavky);
}

void TData::EmptyDokladObsah()
{
    DokladObsah.Open();
    DokladObsah.EmptyTable();
}

QString TData::ReceiptImportedFrom(const QString &prepared)
{
    store::Table receipts(&ffDodavky.Definition());
    receipts.SetDatabase(&Database);
    receipts.SetTableName(ffDodavky.TableName());
    receipts.Open();
    return receipts.Locate(QStringLiteral("HLA_DO3"), prepared)
        ? receipts.FieldByName(QStringLiteral("HLA_DO1")).AsString()
        : QString();
}

bool TData::SetLastSor()
{
    return remember(ffSortiment, QStringLiteral("SOR_KAV"), LastSorSet, LastSorCode, LastSorIndex);
}

bool TData::GetLastSor()
{
    return goBack(ffSortiment, QStringLiteral("KAV"), LastSorSet, LastSorCode, LastSorIndex);
}

bool TData::SetLastDod()
{
    return remember(ffDodavatele, QStringLiteral("DOD_KOD"), LastDodSet, LastDodCode, LastDodIndex);
}

bool TData::GetLastDod()
{
    return goBack(ffDodavatele, QStringLiteral("KOD"), LastDodSet, LastDodCode, LastDodIndex);
}

bool TData::Index()
{
    return false;
}

void TData::ffPodklPolCalcFields(store::Record &r)
{
    r.setValue(QStringLiteral("POP_CCC"), r.AsFloat(QStringLiteral("POP_CKU")) * r.AsFloat(QStringLiteral("POP_CNC")));
    r.setValue(QStringLiteral("POP_NCC"), r.AsFloat(QStringLiteral("POP_NCS")) * r.AsFloat(QStringLiteral("POP_KUS")));
}

void TData::SortimentCalcFields(store::Record &r)
{
    r.setValue(QStringLiteral("SOR_DIS"), r.AsFloat(QStringLiteral("SOR_STA")) - r.AsFloat(QStringLiteral("SOR_BLO")));
    r.setValue(QStringLiteral("SOR_VOL"), r.AsFloat(QStringLiteral("SOR_MAJ")) - r.AsFloat(QStringLiteral("SOR_PUJ")));
}

void TData::ffCenikyCalcFields(store::Record &r)
{
    r.setValue(QStringLiteral("typCeniku"), r.AsBoolean(QStringLiteral("CEN_DPH"))
                                                ? QStringLiteral("Ceny s DPH")
                                                : QStringLiteral("Ceny bez DPH"));
}

void TData::ffDodavateleAfterInsert(store::Table &supplier)
{
    store::TableUse counters(ffCiselnik);
    // When the insert fails, the new supplier is cancelled: the counter must not move
    // either, or its code would be given out twice.
    store::Transaction transaction(Database);
    const qint64 code = TakeFloatCounter(ffCiselnik, QStringLiteral("CIS_ODB"));
    supplier.FieldByName(QStringLiteral("DOD_KOD")).SetAsString(ZeroPad(QString::number(code), 6));
    supplier.FieldByName(QStringLiteral("DOD_JED")).SetAsString(FirmNumber);
    ffCiselnik.Post();
    transaction.commit();
}

#include "tdata.h"

#include "core/textutil.h"
#include "store/counter.h"
#include "store/cursor.h"
#include "store/transaction.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tables/index_names.h"

#include <exception>

namespace ix = store::tables::index;

TData *Data = nullptr;

const QString TData::kDefaultUserFullName = QStringLiteral("Dvořák Petr        ");

namespace {

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

bool remember(store::Table &table, const store::Field &codeField, bool &isSet, QString &code,
              QString &indexName)
{
    try {
        // Only a table without a current record (closed, or empty) has nothing to
        // remember; after Last or a Next past the end the last record is current.
        if (!table.Active() || table.IsEmpty())
            return false;
        const QString index = table.IndexName();
        const QString value = codeField.AsString();
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

// Each table component takes its own definition, so member and table cannot be mixed
// up. Each field object is then bound to its component's field.
#define TDATA_USED(component, definition, columns) component(&store::tables::definition()),
#define TDATA_UNUSED(...)
#define TDATA_FIELDS(component, definition, columns) columns(STORE_FIELD_BINDING, component)
#define TDATA_NO_FIELDS(...)

TData::TData(QObject *parent)
    : QObject(parent),
      STORE_CATALOGUE(TDATA_USED, TDATA_UNUSED)
      STORE_WORK_TABLES(TDATA_USED, TDATA_UNUSED)
      STORE_CATALOGUE(TDATA_FIELDS, TDATA_NO_FIELDS)
      STORE_WORK_TABLES(TDATA_FIELDS, TDATA_NO_FIELDS)
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
{
    VatRateHigh = 22;
    VatRateLow = 5;
    VatRateZero = 0;

#define TDATA_LIST(component, ...) &component,
    m_tables = {STORE_CATALOGUE(TDATA_LIST, TDATA_UNUSED)};
    m_workTables = {STORE_WORK_TABLES(TDATA_LIST, TDATA_UNUSED)};
#undef TDATA_LIST
    for (store::Table *table : m_tables)
        table->SetDatabase(&Database);

    MemDatabase.ConnectInMemory();
    for (store::Table *work : m_workTables) {
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
#undef TDATA_USED
#undef TDATA_UNUSED
#undef TDATA_FIELDS
#undef TDATA_NO_FIELDS

TData::~TData()
{
    for (store::Table *table : m_tables)
        table->Close();
    for (store::Table *work : m_workTables)
        work->Close();
    if (Data == this)
        Data = nullptr;
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
    store::Cursor receipts(ffDodavky);
    using namespace store::tables::column::ffDodavky;
    return receipts.Locate(HLA_DO3, prepared) ? receipts.FieldByName(HLA_DO1).AsString() : QString();
}

bool TData::SetLastSor()
{
    return remember(ffSortiment, ffSortimentSOR_KAV, LastSorSet, LastSorCode, LastSorIndex);
}

bool TData::GetLastSor()
{
    return goBack(ffSortiment, ix::ffSortiment::KAV, LastSorSet, LastSorCode, LastSorIndex);
}

bool TData::SetLastDod()
{
    return remember(ffDodavatele, ffDodavateleDOD_KOD, LastDodSet, LastDodCode, LastDodIndex);
}

bool TData::GetLastDod()
{
    return goBack(ffDodavatele, ix::ffDodavatele::KOD, LastDodSet, LastDodCode, LastDodIndex);
}

bool TData::Index()
{
    return false;
}

void TData::ffPodklPolCalcFields(store::Record &r)
{
    r.setValue(ffPodklPolPOP_CCC, r.AsFloat(ffPodklPolPOP_CKU) * r.AsFloat(ffPodklPolPOP_CNC));
    r.setValue(ffPodklPolPOP_NCC, r.AsFloat(ffPodklPolPOP_NCS) * r.AsFloat(ffPodklPolPOP_KUS));
}

void TData::SortimentCalcFields(store::Record &r)
{
    r.setValue(ffSortimentSOR_DIS, r.AsFloat(ffSortimentSOR_STA) - r.AsFloat(ffSortimentSOR_BLO));
    r.setValue(ffSortimentSOR_VOL, r.AsFloat(ffSortimentSOR_MAJ) - r.AsFloat(ffSortimentSOR_PUJ));
}

void TData::ffCenikyCalcFields(store::Record &r)
{
    r.setValue(ffCenikytypCeniku, r.AsBoolean(ffCenikyCEN_DPH)
                                                ? QStringLiteral("Ceny s DPH")
                                                : QStringLiteral("Ceny bez DPH"));
}

void TData::ffDodavateleAfterInsert(store::Table &supplier)
{
    store::Cursor counters(ffCiselnik);
    // When the insert fails, the new supplier is cancelled: the counter must not move
    // either, or its code would be given out twice.
    store::Transaction transaction(Database);
    const qint64 code = TakeFloatCounter(counters, store::tables::column::ffCiselnik::CIS_ODB);
    supplier.FieldByName(ffDodavateleDOD_KOD).SetAsString(ZeroPad(QString::number(code), 6));
    supplier.FieldByName(ffDodavateleDOD_JED).SetAsString(FirmNumber);
    counters.Post();
    transaction.commit();
}

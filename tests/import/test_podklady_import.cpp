// The import of prepared deliveries on a real database of each engine, with import files
// the tests write: lines imported into the receipt (journal, stock, DokladObsah, totals,
// the receipt numbered once), lines of other documents and deleted records skipped, a
// card locked by another station skipped, files that are missing or not import files,
// a second import refused while one runs, and the running flag cleared on every way out.

#include "firm_tables.h"
#include "podklady_dbf_writer.h"
#include "recordingprompter.h"
#include "store_test_support.h"
#include "testscreens.h"

#include "import/data_import.h"
#include "import/form_podklady_import.h"
#include "dodavky.h"
#include "doklad_podklady.h"
#include "store/tables/index_names.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ix = store::tables::index;

using storetest::Backend;

namespace {

// The import dialog played by the test: it types the number and answers; the
// source-document editor runs the test's script; any other window fails the test.
class ImportScreens final : public TestScreens {
public:
    int ShowDokladPodklady(TDokladPodklady &editor, QPoint) override
    {
        return doklad ? doklad(editor) : unexpected("doklad");
    }
    int ShowFormPodkladyImport(TFormPodkladyImport &form) override
    {
        ++shown;
        if (onShow)
            onShow();
        form.EditTovel1Text = typed;
        return answer;
    }
    QString typed;
    int answer = mrOk;
    int shown = 0;
    std::function<void()> onShow;
    std::function<int(TDokladPodklady &)> doklad;
};

struct JournalEntry {
    QString document, card, variant, operation;
    double quantity;
};

QCoreApplication &application()
{
    static int argc = 1;
    static char name[] = "test_podklady_import";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class ImportTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        application();
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        data->LocalAddress = QStringLiteral("10.0.0.1");
        data->UserFullName = QStringLiteral("Novák Jan");
        data->UserInitials = QStringLiteral("JN");
        data->PriceMode = 1;
        data->ImportPath = dir.path() + QLatin1Char('/');
        FreshFirmSchema(data->Database, data->FirmNumber);

        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "7"}, {data->ffCiselnikCIS_PRD, "41"}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000001"},
                                      {data->ffSortimentSOR_NAC, "Šroub M6"},
                                      {data->ffSortimentSOR_PC1, 10.0},
                                      {data->ffSortimentSOR_DAN, 22.0}, {data->ffSortimentSOR_SKL, true}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000002"},
                                      {data->ffSortimentSOR_NAC, "Matice"}, {data->ffSortimentSOR_PC1, 122.0},
                                      {data->ffSortimentSOR_DAN, 22.0}, {data->ffSortimentSOR_SKL, true}});
        AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, "000001"}, {data->ffSkladSKL_IND, "001"},
                                  {data->ffSkladSKL_SNC, 6.0}});
        AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, "000001"}, {data->ffSkladSKL_IND, "002"},
                                  {data->ffSkladSKL_SNC, 7.0}});
        AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, "000002"}, {data->ffSkladSKL_IND, "001"},
                                  {data->ffSkladSKL_SNC, 50.0}});

        data->ffDodavky.Open();
        data->ffDodavky.Append();
        data->ffDodavkyHLA_ODB.SetAsString(QStringLiteral("000003"));
        data->DokladObsah.Open();
    }

    void TearDown() override
    {
        data.reset();
        db.reset();
    }

    QString filePath() const { return dir.filePath(TDataImport::kFileName); }

    void runImport(const QString &typed)
    {
        screens.typed = typed;
        TDataImport().PodkladyImport(newDocument);
        EXPECT_FALSE(data->ImportRunning);
    }

    QVector<JournalEntry> journal()
    {
        store::Table &t = data->ffDenik;
        t.Open();
        QVector<JournalEntry> rows;
        for (t.First(); !t.Eof(); t.Next())
            rows.append({data->ffDenikDEN_DOK.AsString(), data->ffDenikDEN_KAV.AsString(),
                         data->ffDenikDEN_IND.AsString(), data->ffDenikDEN_OPE.AsString(),
                         data->ffDenikDEN_KUS.AsFloat()});
        t.Close();
        return rows;
    }
    double stock(const QString &card, const QString &variant)
    {
        store::Table &t = data->ffSklad;
        t.Open();
        t.SetIndexName(ix::ffSklad::KAV);
        EXPECT_TRUE(t.FindKey({card, variant}));
        const double s = data->ffSkladSKL_STA.AsFloat();
        t.Close();
        return s;
    }
    QString counter()
    {
        data->ffCiselnik.Open();
        const QString c = data->ffCiselnikCIS_PRD.AsString();
        data->ffCiselnik.Close();
        return c;
    }

    QTemporaryDir dir;
    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter prompts;
    TDataImport importModule;   // the program's import module, as created at start-up
    ImportScreens screens;
    bool newDocument = true;
};

TEST_P(ImportTest, DocumentOfThreeLinesIsPostedIntoTheReceipt)
{
    writePodkladyDbf(filePath(), {{"000001", "001", 5, "AB12"},
                                  {"000001", "001", 9, "OTHER"},        // another document
                                  {"000002", "001", 2, "AB12"},
                                  {"000001", "002", 4, "AB12", true},   // deleted
                                  {"000001", "002", 3, "AB12"},
                                  {"000001", "001", 1, "ab12"}});       // letter case counts
    data->PriceMode = 2;
    runImport(QStringLiteral("  ab12 "));

    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(screens.shown, 1);
    const QString receiptNo = QStringLiteral("0000000042");
    EXPECT_FALSE(newDocument);
    EXPECT_EQ(counter(), QStringLiteral("42"));
    store::Table &r = data->ffDodavky;
    EXPECT_EQ(r.State(), store::DataSetState::Edit);
    EXPECT_EQ(data->ffDodavkyHLA_DO1.AsString(), receiptNo);
    EXPECT_EQ(data->ffDodavkyHLA_DAT.AsDate(), QDate::currentDate());
    EXPECT_DOUBLE_EQ(data->ffDodavkyHLA_PCA.AsFloat(), 5 * 10.0 + 2 * 122.0 + 3 * 10.0);
    EXPECT_DOUBLE_EQ(data->ffDodavkyHLA_NCA.AsFloat(), 5 * 6.0 + 2 * 50.0 + 3 * 7.0);
    r.Cancel();   // the totals were written with each line
    r.First();
    EXPECT_DOUBLE_EQ(data->ffDodavkyHLA_PCA.AsFloat(), 324.0);

    const QVector<JournalEntry> entries = journal();
    ASSERT_EQ(entries.size(), 3);
    const QString cards[] = {"000001", "000002", "000001"}, variants[] = {"001", "001", "002"};
    const double quantities[] = {5, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].document, receiptNo);
        EXPECT_EQ(entries[i].operation, QStringLiteral("001"));
        EXPECT_EQ(entries[i].card, cards[i]);
        EXPECT_EQ(entries[i].variant, variants[i]);
        EXPECT_EQ(entries[i].quantity, quantities[i]);
    }
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 5.0);
    EXPECT_EQ(stock(QStringLiteral("000002"), QStringLiteral("001")), 2.0);

    // The price with VAT goes to the row and the receipt, the price without it to the journal.
    data->ffDenik.Open();
    data->ffDenik.SetIndexName(ix::ffDenik::KAV);
    ASSERT_TRUE(data->ffDenik.FindKey({QStringLiteral("000002")}));
    EXPECT_NEAR(data->ffDenikDEN_HPC.AsFloat(), 200.0, 1e-3);
    data->ffDenik.Close();

    store::Table &rows = data->DokladObsah;
    ASSERT_EQ(rows.RecordCount(), 3);
    rows.First();
    for (; !rows.Eof(); rows.Next()) {
        EXPECT_EQ(data->DokladObsahDOK_CIS.AsString(), receiptNo);
        if (data->DokladObsahDOK_KAV.AsString() == QLatin1String("000002")) {
            EXPECT_EQ(data->DokladObsahDOK_NAZ.AsString(), QStringLiteral("Matice"));
            EXPECT_EQ(data->DokladObsahDOK_IND.AsString(), QStringLiteral("001"));
            EXPECT_EQ(data->DokladObsahDOK_PCC.AsFloat(), 244.0);
            EXPECT_EQ(data->DokladObsahDOK_PCS.AsFloat(), 244.0);
            EXPECT_EQ(data->DokladObsahDOK_NCC.AsFloat(), 100.0);
            EXPECT_EQ(data->DokladObsahDOK_NC1.AsFloat(), 50.0);
            EXPECT_EQ(data->DokladObsahDOK_DAN.AsFloat(), 22.0);
            EXPECT_EQ(data->DokladObsahDOK_KUS.AsFloat(), 2.0);
        }
    }
    // The lines go through cursors of the import's own: no component is left open.
    for (store::Table *t : {&data->ffSortiment, &data->ffSklad, &data->ffDenik, &data->ffCiselnik, &data->ffSemafor})
        EXPECT_FALSE(t->Active());
}

// Skipped lines: a card locked by another station, a card not in the assortment (the
// receipt is numbered all the same), a variant not in the stock table. The others go in.
TEST_P(ImportTest, LinesThatCannotBePostedAreSkipped)
{
    auto station2 = FirmDataModule(db->params(), QStringLiteral("0001"));
    station2->LocalAddress = QStringLiteral("10.0.0.2");
    station2->UserFullName = QStringLiteral("Dvořák Petr");
    ASSERT_TRUE(station2->LockRecord(QStringLiteral("SOR"), QStringLiteral("000002")));
    Data = data.get();   // the other station's data module made itself the program's

    writePodkladyDbf(filePath(), {{"000009", "001", 1, "5"},
                                  {"000002", "001", 2, "5"},
                                  {"000001", "009", 3, "5"},
                                  {"000001", "001", 4, "5"}});
    runImport(QStringLiteral("5"));

    ASSERT_EQ(prompts.messages.size(), 2) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompts.messages[0], QStringLiteral("Karta 000009/001 není v sortimentu "));
    EXPECT_TRUE(prompts.messages[1].startsWith(QStringLiteral("Položka blokována uživatelem Dvořák Petr")))
        << prompts.messages[1].toStdString();
    EXPECT_EQ(counter(), QStringLiteral("42"));
    EXPECT_EQ(data->ffDodavkyHLA_DO1.AsString(), QStringLiteral("0000000042"));
    const QVector<JournalEntry> entries = journal();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].card, QStringLiteral("000001"));
    EXPECT_EQ(data->DokladObsah.RecordCount(), 1);
    EXPECT_DOUBLE_EQ(data->ffDodavkyHLA_PCA.AsFloat(), 40.0);
    EXPECT_DOUBLE_EQ(data->ffDodavkyHLA_NCA.AsFloat(), 24.0);
    // No lock of this station is left behind; the other station's stays.
    EXPECT_TRUE(station2->LockRecord(QStringLiteral("SOR"), QStringLiteral("000001")));
    EXPECT_FALSE(data->LockRecord(QStringLiteral("SOR"), QStringLiteral("000002")));
}

// A code longer than its field names no card and no variant: the line is refused with the
// line's message, never cut to the field's size and posted onto the card or variant the
// cut code would name.
TEST_P(ImportTest, CodesLongerThanTheirFieldsAreRefusedNotCut)
{
    writePodkladyDbf(filePath(), {{"000001XYZ", "001", 1, "5"}, {"000001", "001X", 2, "5"}, {"000001", "001", 4, "5"}},
                     0x64, 0, false, 4, 9);
    runImport(QStringLiteral("5"));

    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Karta 000001XYZ/001 není v sortimentu ")});
    const QVector<JournalEntry> entries = journal();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].card, QStringLiteral("000001"));
    EXPECT_EQ(entries[0].variant, QStringLiteral("001"));
    EXPECT_EQ(entries[0].quantity, 4.0);
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 4.0);
    EXPECT_EQ(data->DokladObsah.RecordCount(), 1);
}

// A variant whose stock the journal does not show (a start-of-year stock without entries)
// is rebuilt and its stock shown once, by its first line; the lines after it post onto the
// stock the journal then carries, without a message.
TEST_P(ImportTest, VariantOutOfStepWithTheJournalIsRebuiltOnceAndItsLinesPosted)
{
    store::Table &skl = data->ffSklad;
    skl.Open();
    skl.SetIndexName(ix::ffSklad::KAV);
    ASSERT_TRUE(skl.FindKey({QStringLiteral("000001"), QStringLiteral("002")}));
    skl.Edit();
    data->ffSkladSKL_POC.SetAsFloat(3);
    data->ffSkladSKL_STA.SetAsFloat(3);
    skl.Post();
    skl.Close();

    writePodkladyDbf(filePath(), {{"000001", "002", 2, "5"}, {"000001", "001", 1, "5"}, {"000001", "002", 4, "5"}});
    runImport(QStringLiteral("5"));

    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("3")});
    EXPECT_EQ(journal().size(), 3);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("000001"), QStringLiteral("002")), 9.0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 1.0);
    store::Table &den = data->ffDenik;
    den.Open();
    QVector<double> running;
    for (den.First(); !den.Eof(); den.Next())
        running.append(data->ffDenikDEN_ZAS.AsFloat());
    den.Close();
    EXPECT_EQ(running, (QVector<double>{5, 1, 9}));
    EXPECT_EQ(data->DokladObsah.RecordCount(), 3);
    data->ffSemafor.Open();
    EXPECT_EQ(data->ffSemafor.RecordCount(), 0);
    data->ffSemafor.Close();
}

// Ways the import ends without importing anything; the running flag is cleared on each.
TEST_P(ImportTest, NothingIsImportedWhenTheImportCannotRun)
{
    const QString missing = QStringLiteral("Soubor ") + filePath() + QStringLiteral(" nebyl nalezen ");
    runImport(QStringLiteral("5"));
    EXPECT_EQ(prompts.messages, QStringList{missing});

    writePodkladyDbf(filePath(), {{"000001", "001", 1, "5"}});
    prompts.messages.clear();
    screens.answer = mrCancel;
    runImport(QStringLiteral("5"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    screens.answer = mrOk;

    // Files of other programs, without the line fields.
    QFile::remove(filePath());
    const QString fixtures = QStringLiteral(PODKLADY_DBF_FIXTURES "/");
    ASSERT_TRUE(QFile::copy(fixtures + QStringLiteral("people.dbf"), filePath()));
    prompts.messages.clear();
    runImport(QStringLiteral("5"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("chybí pole POD_KAV, POD_IND, POD_KSD, POD_PCD")));

    // A window layer that fails while the dialog is shown.
    screens.onShow = [] { throw std::runtime_error("no window"); };
    EXPECT_THROW(TDataImport().PodkladyImport(newDocument), std::runtime_error);
    EXPECT_FALSE(data->ImportRunning);
    screens.onShow = nullptr;

    // No supplier code: the import ends at the first line of the document.
    QFile::remove(filePath());
    writePodkladyDbf(filePath(), {{"000001", "001", 1, "5"}, {"000001", "001", 1, "5"}});
    data->ffDodavkyHLA_ODB.SetAsString(QString());
    prompts.messages.clear();
    runImport(QStringLiteral("5"));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Není zadán odběratel")});

    EXPECT_TRUE(newDocument);
    EXPECT_EQ(counter(), QStringLiteral("41"));
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_EQ(data->DokladObsah.RecordCount(), 0);
}

// F9 pressed while an import runs (the import lets events run between records) is refused.
TEST_P(ImportTest, SecondImportWhileOneRunsIsRefused)
{
    writePodkladyDbf(filePath(), {{"000001", "001", 1, "5"}, {"000001", "001", 2, "5"}});
    bool second = true;
    QMetaObject::invokeMethod(
        qApp, [&] { TDataImport().PodkladyImport(second); }, Qt::QueuedConnection);
    runImport(QStringLiteral("5"));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Úloha importu spuštěna")});
    EXPECT_EQ(screens.shown, 1);
    EXPECT_TRUE(second);
    EXPECT_EQ(journal().size(), 2);
}

// A document number with Czech letters, stored in code page 852, is found by the typed one.
TEST_P(ImportTest, DocumentNumberInCodePage852)
{
    writePodkladyDbf(filePath(), {{"000001", "001", 2, "ŽLUŤ1"}});
    runImport(QStringLiteral("žluť1"));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(journal().size(), 1);
}

// The receipts written, as "HLA_DO1|HLA_DO2|HLA_DO3|HLA_ODB|HLA_NAC|HLA_FAC|HLA_PCA".
QStringList receipts(TData &data)
{
    store::Table &t = data.ffDodavky;
    const bool wasOpen = t.Active();
    t.Open();
    QStringList rows;
    for (t.First(); !t.Eof(); t.Next())
        rows << QStringList{data.ffDodavkyHLA_DO1.AsString(), data.ffDodavkyHLA_DO2.AsString(), data.ffDodavkyHLA_DO3.AsString(), data.ffDodavkyHLA_ODB.AsString(),
                            data.ffDodavkyHLA_NAC.AsString(), QString::number(data.ffDodavkyHLA_FAC.AsFloat()),
                            QString::number(data.ffDodavkyHLA_PCA.AsFloat())}
                    .join(QLatin1Char('|'));
    if (!wasOpen)
        t.Close();
    return rows;
}

// F2 in the main window, a typed header, then F9 at once and Escape: the typed document
// is numbered and kept with what was typed, and the lines go into a receipt of their own
// that carries the supplier's document, the amount and the prepared number.
TEST_P(ImportTest, EditorF9KeepsTheTypedDocumentAndFillsAReceiptOfItsOwn)
{
    data->ffDodavky.Cancel();
    data->ffDodavky.Close();
    data->DokladObsah.Close();
    AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000003"},
                                   {data->ffDodavateleDOD_FIR, "Čedok"}});
    writePodkladyDbf(filePath(), {{"000001", "001", 5, "P1"}});
    const QDate delivered(2026, 3, 2);
    screens.typed = QStringLiteral("p1");
    bool numberedByF9 = false;
    screens.doklad = [&](TDokladPodklady &e) {
        QString code = QStringLiteral("000003");
        bool valid = true;
        e.DBEditTovel1Valid(code, valid, false);
        EXPECT_TRUE(valid);
        data->ffPodklHlavHLA_ODB.SetAsString(code);
        data->ffPodklHlavHLA_DDO.SetAsDate(delivered);
        data->ffPodklHlavHLA_DO2.SetAsString(QStringLiteral("FA-17"));
        data->ffPodklHlavHLA_FAC.SetAsFloat(1234.5);
        EXPECT_TRUE(e.FormKeyDown(Qt::Key_F9, Qt::NoModifier));
        numberedByF9 = !e.NewDocument && e.KeepDocument && data->ffPodklHlavHLA_DO1.AsString() == QLatin1String("0000000008");
        EXPECT_TRUE(e.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
        return e.ModalResult;
    };
    TDodavky main;
    main.FormCreate();
    main.Button1Click();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(numberedByF9);

    store::Table &h = data->ffPodklHlav;
    h.Last();
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000008"));
    EXPECT_EQ(data->ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000003"));
    EXPECT_EQ(data->ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Čedok"));
    EXPECT_EQ(data->ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FA-17"));
    EXPECT_EQ(data->ffPodklHlavHLA_FAC.AsFloat(), 1234.5);
    EXPECT_EQ(data->ffPodklHlavHLA_DDO.AsDate(), delivered);

    EXPECT_EQ(receipts(*data), QStringList{QStringLiteral("0000000042|FA-17|P1|000003|Čedok|1234.5|50")});
    data->ffDodavky.Open();
    data->ffDodavky.First();
    EXPECT_EQ(data->ffDodavkyHLA_DDO.AsDate(), delivered);
    EXPECT_EQ(data->ffDodavkyHLA_DAT.AsDate(), QDate::currentDate());
    data->ffDodavky.Close();
    EXPECT_EQ(journal().size(), 1);
    EXPECT_FALSE(data->ImportRunning);
}

// A receipt is written only with lines posted into it; a number given to one into which
// nothing was posted stays a gap. Each line of the number is reported with what became
// of it; DokladObsah holds only the lines of this import.
TEST_P(ImportTest, ReceiptWithoutPostedLinesIsNotWritten)
{
    data->ffDodavky.Cancel();
    data->ffDodavky.Close();
    AppendRow(data->DokladObsah, {{data->DokladObsahDOK_KAV, "000099"}});   // left by an earlier valuation
    writePodkladyDbf(filePath(), {{"000009", "001", 1, "Q"}, {"000001", "009", 1, "Q"}, {"000001", "001", 1, "X"}});
    screens.typed = QStringLiteral("Q");
    const ReceiptSource source{QStringLiteral("000003"), QStringLiteral("Čedok"), QDate(2026, 3, 2),
                               QStringLiteral("FA-1"), 10};
    const QVector<ImportedLine> lines = TDataImport().ImportIntoReceipt(source);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_FALSE(lines[0].posted);
    EXPECT_EQ(lines[0].reason, QStringLiteral("karta není v sortimentu"));
    EXPECT_FALSE(lines[1].posted);
    EXPECT_EQ(lines[1].reason, QStringLiteral("varianta není na skladě"));
    EXPECT_TRUE(receipts(*data).isEmpty());
    EXPECT_EQ(counter(), QStringLiteral("42"));
    EXPECT_EQ(data->DokladObsah.RecordCount(), 0);
    EXPECT_FALSE(data->ffDodavky.Active());

    screens.typed = QStringLiteral("X");
    const QVector<ImportedLine> posted = TDataImport().ImportIntoReceipt(source);
    ASSERT_EQ(posted.size(), 1);
    EXPECT_TRUE(posted[0].posted);
    EXPECT_TRUE(posted[0].reason.isEmpty());
    EXPECT_EQ(receipts(*data), QStringList{QStringLiteral("0000000043|FA-1|X|000003|Čedok|10|10")});
    EXPECT_EQ(data->DokladObsah.RecordCount(), 1);
}

// The same prepared document imported again: the question, No by default. No leaves the
// stock, the journal and the receipts as they were; Yes posts the lines again.
TEST_P(ImportTest, RepeatedImportAsksFirst)
{
    data->ffDodavky.Cancel();
    data->ffDodavky.Close();
    writePodkladyDbf(filePath(), {{"000001", "001", 5, "P1"}});
    screens.typed = QStringLiteral("P1");
    const ReceiptSource source{QStringLiteral("000003"), QStringLiteral("Čedok"), QDate(2026, 3, 2), QString(), 0};
    TDataImport().ImportIntoReceipt(source);
    ASSERT_EQ(receipts(*data).size(), 1);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();

    const QString question =
        QStringLiteral("Podklady dodávky P1 již byly importovány do příjemky 0000000042. Importovat znovu ?");
    prompts.confirmAnswer = false;
    EXPECT_TRUE(TDataImport().ImportIntoReceipt(source).isEmpty());
    EXPECT_EQ(prompts.messages, QStringList{question});
    EXPECT_EQ(receipts(*data).size(), 1);
    EXPECT_EQ(journal().size(), 1);
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 5.0);
    EXPECT_EQ(counter(), QStringLiteral("42"));

    prompts.messages.clear();
    prompts.confirmAnswer = true;
    TDataImport().ImportIntoReceipt(source);
    EXPECT_EQ(prompts.messages, QStringList{question});
    EXPECT_EQ(receipts(*data).size(), 2);
    EXPECT_EQ(journal().size(), 2);
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 10.0);
}

// The file as the price-calculation module writes it: the name in any letter case and the
// variant two characters wide ("00" is variant "000", "1" is "001").
TEST_P(ImportTest, FileAndVariantsAsThePriceModuleWritesThem)
{
    AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, "000001"}, {data->ffSkladSKL_IND, "000"},
                              {data->ffSkladSKL_SNC, 6.0}});
    writePodkladyDbf(filePath(), {{"000001", "00", 2, "5"}, {"000001", "1", 3, "5"}}, 0x64, 0, false, 2);
    ASSERT_TRUE(QFile::rename(filePath(), dir.filePath(QStringLiteral("POD0000.DBF"))));
    EXPECT_EQ(TDataImport::FindImportFile(dir.path()), dir.filePath(QStringLiteral("POD0000.DBF")));
    runImport(QStringLiteral("5"));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("000")), 2.0);
    EXPECT_EQ(stock(QStringLiteral("000001"), QStringLiteral("001")), 3.0);
    const QVector<JournalEntry> entries = journal();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].variant, QStringLiteral("000"));
    EXPECT_EQ(entries[1].variant, QStringLiteral("001"));

    // The exact name wins over one that differs in letter case.
    writePodkladyDbf(filePath(), {});
    EXPECT_EQ(TDataImport::FindImportFile(dir.path()), filePath());
}

INSTANTIATE_TEST_SUITE_P(Engines, ImportTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace

// The supplier list's commands on a firm of each engine: new and corrected suppliers
// written or abandoned by the form's result, the numbering of a cancelled supplier, a row
// held by another station, the search, choosing, and the remembered height.

#include "test_pickers_support.h"

#include "core/config.h"
#include "core/errors.h"
#include "prehled_zakazniku.h"
#include "recordingprompter.h"
#include "search_dialogs.h"
#include "zakaznici_edit.h"
#include "store/tables/index_names.h"

#include <QSignalSpy>

namespace ix = store::tables::index;

namespace {

using pickers::Backend;
using pickers::FirmTest;

class SupplierTest : public FirmTest {
protected:
    void SetUp() override
    {
        FirmTest::SetUp();
        if (IsSkipped())
            return;
        addSupplier(QStringLiteral("000001"), QStringLiteral("Barvy Laky"));
        addSupplier(QStringLiteral("000002"), QStringLiteral("Železářství Novák"));
        dod().SetIndexName(ix::ffDodavatele::KOD);
        dod().First();
        list.ShowZakazniciEdit = [this](TZakazniciEdit &f) {
            ++formsShown;
            return form(f);
        };
    }

    store::Table &dod() { return data->ffDodavatele; }
    // The names of the suppliers as stored, in code order.
    QStringList storedNames()
    {
        QStringList names;
        const std::unique_ptr<store::Database> other = db->connect();
        store::Table t(&store::tables::dodavatele());
        t.SetDatabase(other.get());
        t.SetTableName(dod().TableName());
        t.Open();
        t.SetIndexName(ix::ffDodavatele::KOD);
        for (t.First(); !t.Eof(); t.Next())
            names << t.FieldByName(data->ffDodavateleDOD_KOD).AsString() + u' '
                         + t.FieldByName(data->ffDodavateleDOD_FIR).AsString();
        return names;
    }

    // A form that types a company name and closes with the given result.
    std::function<int(TZakazniciEdit &)> typing(const QString &name, int result)
    {
        return [this, name, result](TZakazniciEdit &f) {
            f.FormShow();
            data->ffDodavateleDOD_FIR.SetAsString(name);
            result == mrOk ? f.Button1Click() : f.Button2Click();
            return f.ModalResult;
        };
    }

    RecordingPrompter prompter;
    TPrehledZakazniku list;
    std::function<int(TZakazniciEdit &)> form;
    int formsShown = 0;
    // The counter after the two suppliers of SetUp.
    const double counter = kSupplierCounter + 2;
};

TEST_P(SupplierTest, ANewSupplierCancelledLeavesNoRowButUsesItsCode)
{
    const QStringList before = storedNames();
    form = typing(QStringLiteral("Zrušený"), mrCancel);
    EXPECT_TRUE(list.FormKeyDown(Qt::Key_F2));
    EXPECT_EQ(formsShown, 1);
    EXPECT_EQ(storedNames(), before);
    EXPECT_EQ(storedSupplierCounter(), counter + 1);
    EXPECT_EQ(dod().State(), store::DataSetState::Browse);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_P(SupplierTest, ANewSupplierWrittenIsCurrentAndEnterChoosesIt)
{
    QSignalSpy focus(&list, &FormCommands::focusRequested);
    form = [&](TZakazniciEdit &f) {
        EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000044"));  // numbered on insert
        EXPECT_EQ(data->ffDodavateleDOD_JED.AsString(), QStringLiteral("0001"));
        return typing(QStringLiteral("Nový dodavatel"), mrOk)(f);
    };
    list.Button2Click();
    EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000044"));
    EXPECT_EQ(data->ffDodavateleDOD_FIR.AsString(), QStringLiteral("Nový dodavatel"));
    EXPECT_EQ(focus.count(), 1);
    EXPECT_EQ(storedNames().last(), QStringLiteral("000044 Nový dodavatel"));
    EXPECT_TRUE(list.FormKeyDown(Qt::Key_Return));
    EXPECT_EQ(list.ModalResult, mrOk);
}

TEST_P(SupplierTest, ACorrectionIsWrittenOnlyOnOk)
{
    ASSERT_TRUE(dod().FindKey({QStringLiteral("000002")}));
    form = typing(QStringLiteral("Opraveno"), mrCancel);
    EXPECT_TRUE(list.FormKeyDown(Qt::Key_F4));
    EXPECT_EQ(data->ffDodavateleDOD_FIR.AsString(), QStringLiteral("Železářství Novák"));
    form = typing(QStringLiteral("Opraveno"), mrOk);
    list.Button3Click();
    EXPECT_EQ(storedNames(), QStringList({QStringLiteral("000001 Barvy Laky"), QStringLiteral("000002 Opraveno")}));
    EXPECT_EQ(formsShown, 2);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_P(SupplierTest, ARowHeldByAnotherStationGivesTheMessageAndWritesNothing)
{
    ASSERT_TRUE(dod().FindKey({QStringLiteral("000002")}));
    const std::unique_ptr<store::Database> station = db->connect();
    store::Table held(&store::tables::dodavatele());
    held.SetDatabase(station.get());
    held.SetTableName(dod().TableName());
    held.Open();
    held.SetIndexName(ix::ffDodavatele::KOD);
    ASSERT_TRUE(held.FindKey({QStringLiteral("000002")}));
    held.Edit();

    form = typing(QStringLiteral("Opraveno"), mrOk);
    list.Button3Click();
    EXPECT_EQ(formsShown, 0);
    EXPECT_EQ(prompter.messages, QStringList({QStringLiteral("Zákazník uzamčen jinou stanicí")}));
    EXPECT_EQ(dod().State(), store::DataSetState::Browse);
    held.Cancel();
    EXPECT_EQ(storedNames(), QStringList({QStringLiteral("000001 Barvy Laky"),
                                          QStringLiteral("000002 Železářství Novák")}));

    // The counter row held by another station: the new supplier cannot be numbered.
    store::Table counterRow(&store::tables::ciselnik());
    counterRow.SetDatabase(station.get());
    counterRow.SetTableName(data->ffCiselnik.TableName());
    counterRow.Open();
    counterRow.Edit();
    list.Button2Click();
    EXPECT_EQ(formsShown, 0);
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages.last(), TPrehledZakazniku::LockedMessage);
    counterRow.Cancel();
    EXPECT_EQ(storedNames().size(), 2);
    EXPECT_EQ(storedSupplierCounter(), counter);

    // A failure inside the form (a text the code page cannot hold) is reported the same way.
    form = [&](TZakazniciEdit &f) {
        data->ffDodavateleDOD_FIR.SetAsString(QStringLiteral("Smile \u263A"));
        f.Button1Click();
        return f.ModalResult;
    };
    list.Button3Click();
    EXPECT_EQ(prompter.messages.size(), 3);
    EXPECT_EQ(dod().State(), store::DataSetState::Browse);
    EXPECT_EQ(storedNames().last(), QStringLiteral("000002 Železářství Novák"));
}

TEST_P(SupplierTest, SearchAndEscape)
{
    list.ShowDodHle = [&](TDodHle &dialog) {
        dialog.FormShow();
        dialog.SetText(QStringLiteral("želez"));
        dialog.FieldKeyPressed();
        dialog.BitBtn1Click();
        return dialog.ModalResult;
    };
    QSignalSpy focus(&list, &FormCommands::focusRequested);
    EXPECT_TRUE(list.FormKeyDown(Qt::Key_F5));
    EXPECT_EQ(focus.count(), 1);
    EXPECT_EQ(dod().IndexName(), ix::ffDodavatele::NAC);
    EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000002"));
    EXPECT_FALSE(list.FormKeyDown(Qt::Key_Down));
    list.DBGrid1DblClick();
    EXPECT_EQ(list.ModalResult, mrOk);
    EXPECT_TRUE(list.FormKeyDown(Qt::Key_Escape));
    EXPECT_EQ(list.ModalResult, mrCancel);
}

TEST_P(SupplierTest, TheListRemembersItsHeight)
{
    list.FormCreate();
    EXPECT_EQ(list.Height, 361);
    list.FormClose(500);
    TPrehledZakazniku next;
    next.FormCreate();
    EXPECT_EQ(next.Height, 500);
    EXPECT_EQ(GetIniWinHigh(*data, 8), 500);

    QFile ini(dir.filePath(QStringLiteral("Kramora.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Kramora]\r\nVstHeight=vysoko\r\n");
    ini.close();
    TPrehledZakazniku broken;
    EXPECT_THROW(broken.FormCreate(), ConversionError);
}

INSTANTIATE_TEST_SUITE_P(Engines, SupplierTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace

#pragma once
// A firm on a fresh database of each engine for the commands of the source-document
// windows: the data module connected to it, a document counter, three suppliers and
// three cards, and the other windows played by scripts.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "store_test_support.h"
#include "testscreens.h"

#include "core/errors.h"
#include "dodavky.h"
#include "doklad_podklady.h"
#include "podklady_pol_edit.h"
#include "reports/data_sestavy.h"
#include "import/data_import.h"
#include "store/tables/tables.h"
#include "store/tdata.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace doklad {

// Plays the windows the commands open. A window without a script is a test failure
// (and answers Cancel). Every opening is recorded with its place.
class ScriptedScreens final : public TestScreens {
public:
    std::function<int(TDokladPodklady &)> doklad;
    std::function<int(TPodkladyPolEdit &)> polozka;
    std::function<int()> dodavatele;
    std::function<int()> sortiment;
    std::function<int()> hledani;
    // The save dialog: the path chosen, or empty for Cancel; told what it was shown.
    std::function<QString(const QStringList &asked)> ulozit;
    // The windows of a report run: the setup dialog (its result), the preview (told the
    // report whose pages it shows).
    std::function<int(TSestavySetup &)> nastaveni;
    std::function<void(const TSestavy &)> nahled;

    struct Opening {
        QString window;
        QPoint pos;
    };
    QVector<Opening> opened;
    QStringList windows() const
    {
        QStringList names;
        for (const Opening &o : opened)
            names << o.window;
        return names;
    }

    int ShowDokladPodklady(TDokladPodklady &editor, QPoint pos) override
    {
        return play("doklad", pos, doklad, editor);
    }
    int ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint pos) override
    {
        return play("polozka", pos, polozka, editor);
    }
    int ShowPrehledZakazniku(QPoint pos) override { return play("dodavatele", pos, dodavatele); }
    int ShowPrehledSortimentu(QPoint pos) override { return play("sortiment", pos, sortiment); }
    int ShowPodkladyHle() override { return play("hledani", QPoint(), hledani); }
    QString GetSaveFileName(const QString &title, const QString &dir, const QString &name, const QString &filter,
                            const QString &defaultSuffix) override
    {
        opened.append({QStringLiteral("ulozit"), QPoint()});
        if (!ulozit) {
            unexpected("ulozit");
            return QString();
        }
        return ulozit({title, dir, name, filter, defaultSuffix});
    }

    int ShowSestavySetup(TSestavySetup &setup) override { return play("nastaveni", QPoint(), nastaveni, setup); }
    void ShowSestavyPreview(const TSestavy &report) override
    {
        opened.append({QStringLiteral("nahled"), QPoint()});
        if (!nahled) {
            unexpected("nahled");
            return;
        }
        nahled(report);
    }

private:
    template <typename Script, typename... Args>
    int play(const char *window, QPoint pos, const Script &script, Args &...args)
    {
        opened.append({QLatin1String(window), pos});
        if (!script)
            return unexpected(window);
        return script(args...);
    }
};

// Leaves a bound edit as TDBEditTovel does: OnValid with the typed text, then, when
// valid, the (possibly replaced) text written to the field. Returns the validity.
inline bool leave(store::Field &field, QString text,
                  const std::function<void(QString &, bool &)> &onValid)
{
    bool valid = true;
    if (onValid)
        onValid(text, valid);
    if (valid)
        field.SetAsString(text);
    return valid;
}

class WindowsTest : public testing::TestWithParam<storetest::Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        data->LocalAddress = QStringLiteral("10.0.0.1");
        data->UserFullName = QStringLiteral("Novák Jan");
        // The tests of one program share a database: each starts from new, empty tables.
        FreshFirmSchema(data->Database, data->FirmNumber);
        data->MainLeft = 100;
        data->MainTop = 50;
        reports = std::make_unique<TDataSestavy>();

        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "123"}, {data->ffCiselnikCIS_ODB, 3.0}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000001"},
                                       {data->ffDodavateleDOD_FIR, "Alfa s.r.o."},
                                       {data->ffDodavateleDOD_ULI, "Dlouhá 1"},
                                       {data->ffDodavateleDOD_MES, "Brno"},
                                       {data->ffDodavateleDOD_PSC, "60200"}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000002"},
                                       {data->ffDodavateleDOD_FIR, "Beta a.s."},
                                       {data->ffDodavateleDOD_ULI, "Krátká 2"},
                                       {data->ffDodavateleDOD_MES, "Praha"},
                                       {data->ffDodavateleDOD_PSC, "11000"}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000003"},
                                       {data->ffDodavateleDOD_FIR, "Čedok"}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000010"},
                                      {data->ffSortimentSOR_NAC, "Šroub M6"}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000011"},
                                      {data->ffSortimentSOR_NAC, "Matice M6"}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000012"},
                                      {data->ffSortimentSOR_NAC, "Podložka"}});
    }

    void TearDown() override
    {
        main.reset();
        reports.reset();
        data.reset();
        db.reset();
    }

    // The main window's commands, created as the window is.
    TDodavky &mainWindow()
    {
        if (!main) {
            main = std::make_unique<TDodavky>();
            main->FormCreate();
        }
        return *main;
    }

    store::Table &headers() { return data->ffPodklHlav; }
    store::Table &items() { return data->ffPodklPol; }

    // A written document with its items (card, quantity, price; package 1, rate 1, no
    // markup), the header totals the sums of the items.
    void addDocument(const QString &number, const QString &supplier,
                     std::initializer_list<std::tuple<const char *, double, double>> lines)
    {
        double eur = 0;
        for (const auto &[card, cku, cnc] : lines) {
            AppendRow(items(), {{data->ffPodklPolPOP_DOK, number}, {data->ffPodklPolPOP_KAV, card},
                                {data->ffPodklPolPOP_CKU, cku}, {data->ffPodklPolPOP_CNC, cnc},
                                {data->ffPodklPolPOP_BAL, 1.0}, {data->ffPodklPolPOP_KUS, cku},
                                {data->ffPodklPolPOP_NCS, cnc}, {data->ffPodklPolPOP_PRI, 0.0}});
            eur += cku * cnc;
        }
        AppendRow(headers(), {{data->ffPodklHlavHLA_DO1, number}, {data->ffPodklHlavHLA_ODB, supplier},
                              {data->ffPodklHlavHLA_NAC, "?"},
                              {data->ffPodklHlavHLA_MEN, "EUR"}, {data->ffPodklHlavHLA_KUR, 1.0},
                              {data->ffPodklHlavHLA_EUR, eur}, {data->ffPodklHlavHLA_NCA, eur},
                              {data->ffPodklHlavHLA_DAT, QDate(2024, 3, 1)},
                              {data->ffPodklHlavHLA_DDO, QDate(2024, 3, 1)}});
    }

    // Plays the item editor as a user typing an item field by field and pressing
    // "Zapiš"; a card typed for a correction (card field off) is skipped. Returns the
    // window's result (mrNone: "Zapiš" refused, the window would stay open).
    int typeItem(TPodkladyPolEdit &e, const QString &card, const QString &price, const QString &quantity,
                 const QString &markup = QStringLiteral("0"), const QString &package = QStringLiteral("1"))
    {
        if (e.DBEditTovel1Enabled
            && !leave(data->ffPodklPolPOP_KAV, card, [&](QString &t, bool &v) { e.DBEditTovel1Valid(t, v, false); }))
            return mrNone;
        leave(data->ffPodklPolPOP_CNC, price, [&](QString &t, bool &v) { e.DBEditTovel2Valid(t, v); });
        leave(data->ffPodklPolPOP_CKU, quantity, [&](QString &t, bool &v) { e.DBEditTovel3Valid(t, v); });
        leave(data->ffPodklPolPOP_PRI, markup, [&](QString &t, bool &v) { e.DBEditTovel4Valid(t, v); });
        leave(data->ffPodklPolPOP_BAL, package, [&](QString &t, bool &v) { e.DBEditTovel5Valid(t, v); });
        e.Button2Click();
        return e.ModalResult;
    }

    // Confirms a supplier code in the editor as the code field does when it is left.
    bool typeSupplier(TDokladPodklady &e, const QString &code)
    {
        return leave(data->ffPodklHlavHLA_ODB, code, [&](QString &t, bool &v) { e.DBEditTovel1Valid(t, v, false); });
    }

    // What another station's connection sees of a table of the firm.
    struct Peek {
        std::unique_ptr<store::Database> db;
        std::unique_ptr<store::Table> table;
        store::Table *operator->() { return table.get(); }
        store::Field &operator[](const store::FieldKey &f) { return table->FieldByName(f); }
    };
    Peek peek(const store::TableDef &def, const QString &index = QString())
    {
        Peek p{db->connect(), std::make_unique<store::Table>(&def)};
        p.table->SetDatabase(p.db.get());
        p.table->SetTableName(def.nameForFirm(data->FirmNumber));
        p.table->SetIndexName(index);
        p.table->Open();
        return p;
    }
    // The records of a table, seen from another connection, as "field=value" lists.
    qint64 rowCount(const store::TableDef &def) { return peek(def)->RecordCount(); }

    // A lock of another station on a thing.
    void lockedElsewhere(const QString &code, const QString &key)
    {
        Peek locks = peek(store::tables::semafor());
        locks->Append();
        locks[data->ffSemaforSYS_TAB].SetAsString(code);
        locks[data->ffSemaforSYS_KLI].SetAsString(key);
        locks[data->ffSemaforSYS_USR].SetAsString(QStringLiteral("Svoboda Karel"));
        locks[data->ffSemaforSYS_DAT].SetAsDateTime(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
        locks[data->ffSemaforSYS_IDU].SetAsString(QStringLiteral("10.0.0.2"));
        locks->Post();
    }
    // The lock records of this station.
    int ownLocks()
    {
        Peek locks = peek(store::tables::semafor());
        int n = 0;
        for (locks->First(); !locks->Eof(); locks->Next())
            n += locks[data->ffSemaforSYS_IDU].AsString() == data->LocalAddress;
        return n;
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<TDataSestavy> reports;
    TDataImport importModule;   // the program's import module, as created at start-up
    std::unique_ptr<TDodavky> main;
    ScriptedScreens screens;
    RecordingPrompter prompts;
};

} // namespace doklad

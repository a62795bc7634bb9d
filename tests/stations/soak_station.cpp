// One station of the soak: a clerk's day at the program's commands, without the widgets.
//   soak_station TARGET ADDRESS SEED SECONDS THINK IMPORTDIR PREPARED CARDS SUPPLIERS
// TARGET is pg:HOST:PORT:DATABASE:USER (firm 0001), ADDRESS the station's address, SEED
// the seed of its random choices, SECONDS how long it works, THINK the mean pause in ms
// between two operations, IMPORTDIR the directory of Pod0000.dbf, PREPARED the numbers of
// the prepared deliveries in it (comma separated), CARDS and SUPPLIERS how many cards
// ("000001" …) and suppliers the firm started with. The current directory is the
// station's own: its printouts and overview files go there.
//
// Each operation is drawn at random from a clerk's mix and runs through the windows'
// commands, with the windows the commands open played by this program: the main list
// paged either way through the grid's model; the document, card and supplier searches; a
// new document of 1–5 items with the supplier and card look-ups (now and then a new
// supplier made in the supplier list); a correction of an item of one of the newest
// documents; an import of a prepared delivery into a new document; the printout of a
// document to a PDF; the deliveries overview of the month. A connection lost is restored
// before the next operation, as the main window does before each command.
//
// Output, one line each: "lat KIND MS" for every timed operation; "refused KIND TEXT"
// for every refusal (a lock or record held by another station, the editor's fixed
// message of a store failure, the server away);
// "reconnected"; "unexpected TEXT" for a message that is neither; at the end
// "done OPERATIONS". Exit 0 when the station worked to its end.

#include "station_module.h"

#include "core/general_error.h"
#include "core/prompter.h"
#include "core/form_commands.h"
#include "core/textutil.h"
#include "document_screens.h"
#include "dodavky.h"
#include "dodavky_form.h"
#include "doklad_podklady.h"
#include "file_dialogs.h"
#include "gridmodel.h"
#include "import/data_import.h"
#include "import/form_podklady_import.h"
#include "import/import_screens.h"
#include "overview_screens.h"
#include "picker_screens.h"
#include "podklady_pol_edit.h"
#include "prehled_sortimentu.h"
#include "prehled_zakazniku.h"
#include "reports/data_sestavy.h"
#include "reports/report_screens.h"
#include "search_dialogs.h"
#include "ses_preh_dod_od_do.h"
#include "sorvalid.h"
#include "store/table_use.h"
#include "store/tables/index_names.h"
#include "store/tdata.h"
#include "zakaznici_edit.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QThread>
#include <cstdio>
#include <functional>
#include <random>

namespace ix = store::tables::index;

namespace {

void out(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// The first line of a message, for the report.
QString firstLine(const QString &text) { return text.section(u'\n', 0, 0).left(120); }

// The messages the commands show, sorted into refusals, reconnections and the rest.
class SoakPrompter final : public Prompter {
public:
    void ShowMessage(const QString &text) override
    {
        if (text.startsWith(QStringLiteral("Spojení s databázovým serverem")))
            out(QStringLiteral("reconnected"));
        else if (text.startsWith(QStringLiteral("Položka blokována")))
            out(QStringLiteral("refused zámek ") + firstLine(text));
        else if (text == TPrehledZakazniku::LockedMessage)
            out(QStringLiteral("refused dodavatel ") + text);
        else if (Data->Database.ConnectionLost() || text.contains(QStringLiteral("není dostupný")))
            out(QStringLiteral("refused spojení ") + firstLine(text.section(u'\n', -1)));
        else if (text.contains(QStringLiteral("jinou stanicí")))
            out(QStringLiteral("refused záznam ") + firstLine(text.section(u'\n', -1)));
        // The fixed message of the source-document editor and the import for a failure of
        // the store, without its text: under load it is a record or counter that another
        // station held past the wait for its hold. The checks afterwards tell whether
        // anything was spoilt.
        else if (text == QLatin1String("Osetreni vyjimky"))
            out(QStringLiteral("refused editor ") + text);
        else
            out(QStringLiteral("unexpected ") + text.simplified());
    }
    bool Confirm(const QString &text) override
    {
        ShowMessage(text);
        return false;
    }
    // The question whether to import a delivery imported before: Yes, so that every
    // import posts its lines.
    bool AskYesNo(const QString &) override { return true; }
};

// Leaves a bound edit as the data-aware edit does: OnValid with the typed text, then,
// when valid, the (possibly replaced) text written to the field.
bool leave(store::Field &field, QString text, const std::function<void(QString &, bool &)> &onValid)
{
    bool valid = true;
    onValid(text, valid);
    if (valid)
        field.SetAsString(text);
    return valid;
}

class Station final : public DocumentScreens,
                      public PickerScreens,
                      public ImportScreens,
                      public OverviewScreens,
                      public FileDialogs,
                      public ReportScreens {
public:
    Station(quint32 seed, int think, const QStringList &prepared, int cards, int suppliers)
        : m_random(seed), m_think(think), m_prepared(prepared), m_cards(cards), m_suppliers(suppliers)
    {
    }

    int run(int seconds);

    // --- The windows the commands open, played as a clerk would ---
    int ShowDokladPodklady(TDokladPodklady &editor, QPoint) override { return m_editor(editor); }
    int ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint) override;
    int ShowPrehledZakazniku(QPoint) override;
    int ShowPrehledSortimentu(QPoint) override;
    int ShowPodkladyHle() override;
    int ShowFormPodkladyImport(TFormPodkladyImport &form) override
    {
        form.EditTovel1Text = m_prepared[pick(0, int(m_prepared.size()) - 1)];
        form.Button2Click();
        return form.ModalResult;
    }
    int ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog) override
    {
        const QDate today = QDate::currentDate();
        dialog.ZandorDateEdit1Date = QDate(today.year(), today.month(), 1);
        dialog.ZandorDateEdit2Date = dialog.ZandorDateEdit1Date.addMonths(1).addDays(-1);
        dialog.TrizeniItemIndex = pick(0, 1);
        dialog.CheckBox1Checked = false;
        dialog.Button1Click();
        return dialog.ModalResult;
    }
    QString GetSaveFileName(const QString &, const QString &, const QString &, const QString &,
                            const QString &) override
    {
        throw std::logic_error("the soak saves no file through the dialog");
    }
    QString GetOpenFileName(const QString &, const QString &, const QString &) override
    {
        throw std::logic_error("the soak opens no file through the dialog");
    }
    // The overview asks where its pages go: to a PDF in the station's directory.
    int ShowSestavySetup(TSestavySetup &setup) override
    {
        setup.destination = TDestination::File;
        setup.fileName = QDir::current().absoluteFilePath(QStringLiteral("prehled.pdf"));
        return mrOk;
    }
    std::unique_ptr<TSestavyProgress> ShowSestavyProgress() override { return std::make_unique<NoProgress>(); }
    void ShowSestavyPreview(const TSestavy &) override { throw std::logic_error("the soak prints to files"); }
    void PrintSestavy(const TSestavy &) override { throw std::logic_error("the soak prints to files"); }

private:
    class NoProgress final : public TSestavyProgress {
    public:
        void Show(const QString &) override {}
    };

    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    QString card(int n) const { return QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')); }
    QString randomCard() { return card(pick(1, m_cards)); }
    QString randomSupplier() { return card(pick(1, m_suppliers)); }
    QString decimal(double value) const { return QLocale().toString(value, 'f', 2); }

    // Runs f and prints its time under kind.
    template <typename F>
    void timed(const char *kind, F &&f)
    {
        QElapsedTimer t;
        t.start();
        f();
        latency(kind, t.nsecsElapsed() / 1e6);
    }
    static void latency(const char *kind, double ms) { out(QStringLiteral("lat %1 %2").arg(QLatin1String(kind)).arg(ms, 0, 'f', 3)); }

    // The operations of the mix.
    void page();
    void searchDocument() { timed("hledani_dokladu", [this] { m_main->Button3Click(); }); }
    void searchCard();
    void searchSupplier();
    void newDocument(bool withNewSupplier);
    void correct();
    void importDelivery();
    void print();
    void overview();

    // The main list on one of the newest documents, in document-number order.
    void toRecentDocument();
    // Runs the editor's command of a new or corrected item and times its write: from
    // "Zapiš" in the item editor to the end of the command.
    void writeItem(const std::function<void()> &command);
    // Types the supplier into the editor: a known code, or (unknown) the picker.
    bool typeSupplier(TDokladPodklady &editor, bool unknown);

    std::mt19937 m_random;
    const int m_think;
    const QStringList m_prepared;
    const int m_cards, m_suppliers;
    std::unique_ptr<TDodavky> m_main;
    std::unique_ptr<GridModel> m_list;
    std::function<int(TDokladPodklady &)> m_editor;
    // What the item editor is to do: the new quantity of a corrected item, or a new item.
    bool m_correcting = false;
    bool m_newSupplier = false;
    // Started when the item editor closed with "Zapiš".
    QElapsedTimer m_itemConfirmed;
    InstalledWindows<DocumentScreens, PickerScreens, ImportScreens, OverviewScreens, FileDialogs, ReportScreens>
        m_installed{*this};
};

int Station::ShowPodkladyPolEdit(TPodkladyPolEdit &e, QPoint)
{
    if (e.DBEditTovel1Enabled) {
        // A card number, or now and then a part of its name, which opens the picker.
        const QString text = chance(80) ? randomCard() : QStringLiteral("Karta ") + randomCard();
        if (!leave(Data->ffPodklPolPOP_KAV, text, [&](QString &t, bool &v) { e.DBEditTovel1Valid(t, v, false); })) {
            e.Button1Click();
            return e.ModalResult;
        }
    }
    const QString price = m_correcting ? Data->ffPodklPolPOP_CNC.AsString() : decimal(pick(100, 50000) / 100.0);
    leave(Data->ffPodklPolPOP_CNC, price, [&](QString &t, bool &v) { e.DBEditTovel2Valid(t, v); });
    leave(Data->ffPodklPolPOP_CKU, QString::number(pick(1, 24)), [&](QString &t, bool &v) { e.DBEditTovel3Valid(t, v); });
    leave(Data->ffPodklPolPOP_PRI, QString::number(pick(0, 40)), [&](QString &t, bool &v) { e.DBEditTovel4Valid(t, v); });
    leave(Data->ffPodklPolPOP_BAL, QStringLiteral("1"), [&](QString &t, bool &v) { e.DBEditTovel5Valid(t, v); });
    e.Button2Click();
    if (e.ModalResult != mrOk)
        return mrCancel;
    m_itemConfirmed.start();
    return mrOk;
}

int Station::ShowPrehledZakazniku(QPoint)
{
    TPrehledZakazniku list;
    list.ShowDodHle = [this](TDodHle &search) {
        search.FormShow();
        search.SelectOption(0);
        search.SetText(QStringLiteral("Dodavatel ") + QString::number(pick(1, m_suppliers)));
        search.FieldKeyPressed();
        search.BitBtn1Click();
        return search.ModalResult;
    };
    list.ShowZakazniciEdit = [](TZakazniciEdit &form) {
        form.FormShow();
        Data->ffDodavateleDOD_FIR.SetAsString(QStringLiteral("Dodavatel stanice ") + Data->LocalAddress);
        Data->ffDodavateleDOD_MES.SetAsString(QStringLiteral("Brno"));
        Data->ffDodavateleDOD_PSC.SetAsString(QStringLiteral("60200"));
        form.Button1Click();
        return form.ModalResult;
    };
    if (m_newSupplier)
        timed("novy_dodavatel", [&] { list.Button2Click(); });
    else
        list.Button1Click();
    list.Choose();
    return list.ModalResult == mrOk ? mrOk : mrCancel;
}

int Station::ShowPrehledSortimentu(QPoint)
{
    TPrehledSortimentu picker;
    picker.ShowSorHle = [this](TSorHle &search) {
        search.FormShow();
        search.SelectOption(0);
        search.SetText(QStringLiteral("Karta ") + randomCard());
        search.FieldKeyPressed();
        search.BitBtn1Click();
        return search.ModalResult;
    };
    picker.FormShow();
    picker.Button1Click();
    picker.Choose();
    picker.FormClose();
    return picker.ModalResult == mrOk ? mrOk : mrCancel;
}

int Station::ShowPodkladyHle()
{
    TPodkladyHle search;
    search.FormShow();
    const int option = pick(0, 2);
    search.SelectOption(option);
    store::Table &headers = Data->ffPodklHlav;
    QString text;
    if (option == 0)
        text = headers.Active() ? Data->ffPodklHlavHLA_DO1.AsString() : QString();
    else if (option == 1)
        text = QStringLiteral("Dodavatel ") + QString::number(pick(1, m_suppliers));
    else
        text = QStringLiteral("FA") + QString::number(pick(1, 999));
    search.SetText(text);
    search.FieldKeyPressed();
    search.BitBtn1Click();
    return search.ModalResult;
}

void Station::toRecentDocument()
{
    store::Table &headers = Data->ffPodklHlav;
    headers.SetIndexName(ix::ffPodklHlav::DO1);
    headers.Last();
    for (int back = pick(0, 7); back > 0 && !headers.Bof(); --back)
        headers.Prior();
}

void Station::page()
{
    m_list->Sync();
    const bool forward = chance(50);
    const int pages = pick(2, 8);
    for (int i = 0; i < pages; ++i) {
        if (forward ? !m_list->canFetchMore({}) : !m_list->canFetchBackward()) {
            // At an end of the list: the user jumps to the other end.
            store::Table &headers = Data->ffPodklHlav;
            timed("strana", [&] {
                forward ? headers.First() : headers.Last();
                m_list->Sync();
            });
            continue;
        }
        timed("strana", [&] { forward ? m_list->fetchMore({}) : void(m_list->fetchBackward()); });
    }
}

void Station::searchCard()
{
    // A part of a card's name typed into the item's card field: the picker opens and the
    // clerk searches in it.
    timed("hledani_karty", [this] { SorValid(*Data, QStringLiteral("Karta ") + randomCard()); });
}

void Station::searchSupplier()
{
    // The supplier list as the editor's supplier button opens it, searched by name.
    timed("hledani_dodavatele", [this] {
        const store::TableUse use(Data->ffDodavatele, ix::ffDodavatele::NAC);
        m_newSupplier = false;
        ShowPrehledZakazniku({});
    });
}

bool Station::typeSupplier(TDokladPodklady &editor, bool unknown)
{
    const QString code = unknown ? QStringLiteral("?") : randomSupplier();
    return leave(Data->ffPodklHlavHLA_ODB, code, [&](QString &t, bool &v) { editor.DBEditTovel1Valid(t, v, false); });
}

void Station::writeItem(const std::function<void()> &command)
{
    m_itemConfirmed.invalidate();
    command();
    if (m_itemConfirmed.isValid())
        latency("zapis_polozky", m_itemConfirmed.nsecsElapsed() / 1e6);
}

void Station::newDocument(bool withNewSupplier)
{
    m_editor = [this, withNewSupplier](TDokladPodklady &editor) {
        m_newSupplier = withNewSupplier;
        if (typeSupplier(editor, withNewSupplier || chance(10))) {
            m_correcting = false;
            for (int items = pick(1, 5); items > 0; --items)
                writeItem([&] { editor.Button1Click(); });
        }
        m_newSupplier = false;
        editor.Button4Click();
        return editor.ModalResult;
    };
    timed(withNewSupplier ? "novy_doklad_s_dodavatelem" : "novy_doklad", [this] { m_main->Button1Click(); });
}

void Station::correct()
{
    toRecentDocument();
    m_editor = [this](TDokladPodklady &editor) {
        store::Table &items = Data->ffPodklPol;
        for (int next = pick(0, 2); next > 0 && !items.Eof(); --next)
            items.Next();
        if (items.Eof())
            items.Last();
        m_correcting = true;
        writeItem([&] { editor.Button2Click(); });
        m_correcting = false;
        editor.Button4Click();
        return editor.ModalResult;
    };
    timed("oprava", [this] { m_main->Button2Click(); });
}

void Station::importDelivery()
{
    m_editor = [this](TDokladPodklady &editor) {
        if (typeSupplier(editor, false))
            editor.ImportClick();
        editor.Button4Click();
        return editor.ModalResult;
    };
    timed("import", [this] { m_main->Button1Click(); });
}

void Station::print()
{
    toRecentDocument();
    TSestavy &engine = DataSestavy->Sestavy;
    engine.DefaultDestination = TDestination::File;
    engine.OutputFileName = QDir::current().absoluteFilePath(QStringLiteral("doklad.pdf"));
    QFile::remove(engine.OutputFileName);
    timed("tisk", [this] { m_main->Button4Click(); });
    // The command drops its errors; a printout that did not come out is a refusal when
    // the connection went, and unexpected otherwise.
    if (QFileInfo(engine.OutputFileName).size() == 0) {
        if (Data->Database.ConnectionLost())
            out(QStringLiteral("refused spojení tisk nevznikl"));
        else
            out(QStringLiteral("unexpected tisk dokladu %1 nevznikl").arg(Data->ffPodklHlavHLA_DO1.AsString()));
    }
}

void Station::overview()
{
    timed("prehled", [this] { m_main->Sestavadodvek1Click(); });
}

int Station::run(int seconds)
{
    m_main = std::make_unique<TDodavky>();
    m_main->FormCreate();
    m_list = std::make_unique<GridModel>(&Data->DataPodklHlav, DodavkyWindow::GridColumns());
    const QDeadlineTimer deadline(qint64(seconds) * 1000);
    int operations = 0;
    while (!deadline.hasExpired()) {
        QThread::msleep(pick(0, 2 * m_think));
        // A connection lost since the last command is restored before this one runs.
        if (!Data->RestoreConnection()) {
            QThread::msleep(200);
            continue;
        }
        // The clerk's mix, in percent of the operations.
        const std::pair<int, std::function<void()>> mix[] = {
            {36, [this] { page(); }},
            {5, [this] { searchDocument(); }},
            {5, [this] { searchCard(); }},
            {5, [this] { searchSupplier(); }},
            {16, [this] { newDocument(false); }},
            {2, [this] { newDocument(true); }},
            {16, [this] { correct(); }},
            {6, [this] { importDelivery(); }},
            {7, [this] { print(); }},
            {2, [this] { overview(); }},
        };
        int draw = pick(1, 100);
        try {
            for (const auto &[percent, operation] : mix) {
                if ((draw -= percent) <= 0) {
                    operation();
                    break;
                }
            }
        } catch (const std::exception &e) {
            // What the commands raise reaches the program's general error display.
            prompter().ShowMessage(ErrorText(e));
        }
        ++operations;
        QCoreApplication::processEvents();
    }
    m_list.reset();
    m_main->FormClose();
    out(QStringLiteral("done %1").arg(operations));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 10)
        return 64;
    SoakPrompter messages;
    setPrompter(&messages);
    try {
        auto data = StationDataModule(args[1], args[2]);
        data->ServerName = QStringLiteral("SKLAD");
        data->Host = QStringLiteral("127.0.0.1");
        data->ImportPath = args[6] + u'/';
        TDataSestavy reports;
        TDataImport importer;
        Station station(args[3].toUInt(), args[5].toInt(), args[7].split(u','), args[8].toInt(), args[9].toInt());
        return station.run(args[4].toInt());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "soak_station %s: %s\n", qPrintable(args[2]), e.what());
        return 1;
    }
}

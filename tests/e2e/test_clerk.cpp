// A clerk's session with the built program: the program file and podklady-db are copied
// into a firm directory of their own with a Kramora.ini beside them, the demo firm is
// created by `podklady-db init --demo`, and the program runs as a separate process on a
// private X server, worked only by keys. Each step checks the database and the files the
// program wrote, and saves a screenshot of every window it met in PODKLADY_TEST_OUTPUT
// (the same pictures the user guide shows; tools/screenshots copies them there).
// The session works in a temporary directory, or in PODKLADY_CLERK_DIR when that is set:
// tools/screenshots gives it a shop's home directory, so that the folders a dialog or a
// message shows are those a user would see.
//
// The steps build on one another, in order: a new document with two items (its delivery
// date typed with full stops), its correction (back from the items to the header by
// Shift+Tab and Tab), an import into a new document with the card rebuilt under its
// progress window, the deliveries overview with its workbook (both dates typed with full
// stops), a search by supplier name followed by the XML export of the document found, and
// the print preview, scrolled by the page keys at once. Last the program starts once more
// with the login dialog asked for in Kramora.ini, and the clerk cancels it.

#include "../import/podklady_dbf_writer.h"
#include "xsession.h"

#include "core/codepage.h"
#include "store/tables/index_names.h"
#include "store/tdata.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

using namespace std::chrono_literals;

namespace ix = store::tables::index;

namespace {

const QString kMainTitle = QStringLiteral("Přehled podkladů příjmů od dodavatelů");
const QString kEditorTitle = QStringLiteral("Doklad podkladů příjemky dodavate");
const QString kItemTitle = QStringLiteral("Podklady editace");
const QString kPickerTitle = QStringLiteral("Přehled dodavatelů");
const QString kSupplierTitle = QStringLiteral("ZakazniciEdit");
const QString kAssortmentTitle = QStringLiteral("Přehled položek sortimentu");
const QString kLoginTitle = QStringLiteral("Přihlašovací dialog uživatele");
const QString kSearchTitle = QStringLiteral("Hledej položku databáze");
const QString kExportTitle = QStringLiteral("Uložení XML File");
const QString kImportTitle = QStringLiteral("Import dat z modulu \"Kalkulace cen\"");
const QString kOverviewTitle = QStringLiteral("Sestava přehledu dokladů");
const QString kSetupTitle = QStringLiteral("Nastavení tisku sestavy");
const QString kPreviewTitle = QStringLiteral("Náhled před tiskem");
const QString kMessageTitle = QStringLiteral("Podklady");

QString outputDir()
{
    const QString dir = qEnvironmentVariable("PODKLADY_TEST_OUTPUT", QDir::tempPath() + QStringLiteral("/e2e"));
    QDir().mkpath(dir);
    return dir;
}

// The firm's database as a second program on the computer sees it, opened for one check
// and closed again, so that it holds nothing while the program works.
class FirmData {
public:
    explicit FirmData(const QString &file)
    {
        data.FirmNumber = QStringLiteral("0001");
        data.SetTableNames();
        store::ConnectionParams params;
        params.sqliteFile = file;
        data.Database.Connect(params);
    }
    TData data;
};

// The items of one document, first to last.
store::Table &itemsOf(TData &d, const QString &document)
{
    store::Table &lines = d.ffPodklPol;
    lines.Open();
    lines.SetIndexName(ix::ffPodklPol::DO1);
    lines.SetRange({document}, {document});
    return lines;
}

} // namespace

class ClerkSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void mainWindowComesUpOnTheDemoFirm();
    void newDocumentWithTwoItems();
    void correctionOfTheDocument();
    void importWithTheProgressWindow();
    void deliveriesOverviewWithTheWorkbook();
    void searchBySupplierNameAndXmlExport();
    void printPreview();
    void closingEndsTheProgram();
    void cancelledLoginEndsTheProgram();

private:
    // The window of that title, waited for, given the keyboard and photographed as name.
    XWindow window(const QString &title, const char *name = nullptr, bool prefix = false);
    void shot(XWindow w, const char *name);
    // The window of that title photographed as name and left by Escape; back to the
    // window of the title back.
    bool glance(const QString &title, const char *name, const QString &back);
    // F2 in the main window and the supplier's code typed into the new document.
    bool newDocumentOf(const QString &supplier);
    // The firm's data for a check. The program writes what a window did after the window
    // has gone (the header, the lock), so the check waits a moment first.
    std::unique_ptr<FirmData> open()
    {
        if (m_x)
            m_x->settle(std::chrono::milliseconds(500));
        return std::make_unique<FirmData>(m_database);
    }

    // Kramora.ini of the firm, with the login dialog asked for or not.
    bool writeIni(bool loginForm);

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;   // the program's, on the private X server
    QString m_firm, m_database, m_export, m_home;
    QString m_card1, m_card2, m_stockCard, m_stockVariant;
    double m_stockBefore = 0;
    QString m_document;   // the number of the document the clerk wrote
    QString m_receipt;    // the number of the receipt the import made
    std::optional<XSession> m_x;
    ChildProcess m_program;
};

XWindow ClerkSession::window(const QString &title, const char *name, bool prefix)
{
    const XWindow w = m_x->waitForWindow(title, prefix);
    if (!w) {
        qWarning("windows shown: %s", qPrintable(m_x->titles().join(QStringLiteral(" | "))));
        return 0;
    }
    m_x->focus(w);
    if (name)
        shot(w, name);
    return w;
}

bool ClerkSession::glance(const QString &title, const char *name, const QString &back)
{
    if (!window(title, name))
        return false;
    m_x->key("Escape");
    return m_x->waitUntilGone(title) && window(back);
}

bool ClerkSession::newDocumentOf(const QString &supplier)
{
    if (!window(kMainTitle, nullptr, true))
        return false;
    m_x->key("F2");
    if (!window(kEditorTitle))
        return false;
    m_x->type(supplier);
    m_x->key("Return");
    return true;
}

void ClerkSession::shot(XWindow w, const char *name)
{
    const QString path = QDir(outputDir()).filePath(QLatin1String(name) + QStringLiteral(".png"));
    const QImage image = m_x->grab(w);
    QVERIFY2(!image.isNull() && image.save(path), qPrintable(path));
}

void ClerkSession::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The clerk's home directory; the firm lies in Podklady/ under it.
    m_home = qEnvironmentVariable("PODKLADY_CLERK_DIR", m_dir.path());
    m_firm = QDir(m_home).filePath(QStringLiteral("Podklady"));
    m_export = m_firm + QStringLiteral("/Export/");
    for (const char *sub : {"data", "Private", "Export", "Import"})
        QVERIFY(QDir().mkpath(m_firm + u'/' + QLatin1String(sub)));
    QVERIFY(QDir().mkpath(m_home));
    // The program reads Kramora.ini beside its own file: each copy its own firm.
    for (const char *program : {PODKLADY_PROGRAM, PODKLADY_DB_PROGRAM})
        QVERIFY(QFile::copy(QString::fromLocal8Bit(program),
                            m_firm + u'/' + QFileInfo(QString::fromLocal8Bit(program)).fileName()));
    QVERIFY(writeIni(false));

    QProcessEnvironment &env = m_env;
    env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home);
    env.insert(QStringLiteral("LANG"), QStringLiteral("cs_CZ.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("cs_CZ.UTF-8"));
    env.remove(QStringLiteral("XDG_DOCUMENTS_DIR"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    ChildProcess init;
    init.start(m_firm + QStringLiteral("/podklady-db"), {QStringLiteral("init"), QStringLiteral("--demo")}, m_firm,
               env);
    QCOMPARE(init.wait(120s), std::optional<int>(0));
    m_database = m_firm + QStringLiteral("/data/0001.sqlite");

    // Two cards of the demo shop for the items, and a stock card whose stock no longer
    // agrees with its journal, so that the import rebuilds it under the progress window.
    {
        auto firm = open();
        TData &d = firm->data;
        d.ffSklad.Open();
        d.ffSklad.SetIndexName(ix::ffSklad::KAV);
        d.ffSklad.First();
        QVERIFY(!d.ffSklad.Eof());
        m_stockCard = d.ffSkladSKL_KAV.AsString();
        m_stockVariant = d.ffSkladSKL_IND.AsString();
        m_stockBefore = d.ffSkladSKL_STA.AsFloat();
        d.ffSklad.Edit();
        d.ffSkladSKL_STA.SetAsFloat(m_stockBefore + 7);
        d.ffSklad.Post();
        d.ffSklad.Close();
        d.ffSortiment.Open();
        d.ffSortiment.SetIndexName(ix::ffSortiment::KAV);
        d.ffSortiment.Last();
        m_card1 = d.ffSortimentSOR_KAV.AsString();
        d.ffSortiment.Prior();
        m_card2 = d.ffSortimentSOR_KAV.AsString();
        d.ffSortiment.Close();
    }
    writePodkladyDbf(m_firm + QStringLiteral("/Import/Pod0000.dbf"), {{m_stockCard, m_stockVariant, 2, "E2E"}});

    m_x.emplace();
    env.insert(QStringLiteral("DISPLAY"), m_x->displayName());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_program.start(m_firm + QStringLiteral("/podklady"), {}, m_firm, env);
}

bool ClerkSession::writeIni(bool loginForm)
{
    QFile ini(m_firm + QStringLiteral("/Kramora.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString text =
        QStringLiteral("[Kramora]\nKramora=0001\nDan22=22\nDan05=5\nDan00=0\nProtocol=LOCAL\nAliasName=0001\n"
                       "StationName=PRODEJNA\nZakladniCenySDPH=Ano\nCestaData=%1/data/\nCestaPrivate=%1/Private/\n"
                       "CestaExport=%1/Export/\nCestaImport=%1/Import/\nLoginForm=%2\n")
            .arg(m_firm)
            .arg(loginForm ? 1 : 0);
    return ini.write(text.toUtf8()) > 0 && ini.flush();
}

void ClerkSession::cleanupTestCase()
{
    m_program.kill();
    m_x.reset();
}

void ClerkSession::mainWindowComesUpOnTheDemoFirm()
{
    const XWindow main = window(kMainTitle, "hlavni-okno", true);
    QVERIFY(main);
    QCOMPARE(m_x->title(main), kMainTitle + QStringLiteral(" 1.30"));
    QVERIFY(m_program.running());
}

void ClerkSession::newDocumentWithTwoItems()
{
    QVERIFY(newDocumentOf(QStringLiteral("000001")));
    // The date as clerks type it: its full stops move on within the date, not out of it.
    m_x->type(QStringLiteral("5.12.2026"));
    m_x->key("Return");
    m_x->type(QStringLiteral("FA-E2E"));
    m_x->key("Return");
    m_x->type(QStringLiteral("48"));
    m_x->key("Return");
    m_x->key("Return");   // the currency stays EUR
    m_x->type(QStringLiteral("25"));
    m_x->key("Return");
    shot(m_x->waitForWindow(kEditorTitle), "doklad-novy");

    const struct {
        QString card;
        const char *price, *quantity, *markup, *package;
    } items[] = {{m_card1, "2", "24", "10", "6"}, {m_card2, "3", "10", "20", "5"}};
    bool first = true;
    for (const auto &item : items) {
        m_x->key("F2");
        QVERIFY(window(kItemTitle));
        if (first) {
            // A card number too short to be found opens the assortment picker; Escape
            // leaves it, and the number is typed again.
            m_x->type(QStringLiteral("1"));
            m_x->key("Return");
            QVERIFY(glance(kAssortmentTitle, "vyber-sortimentu", kItemTitle));
            m_x->key("BackSpace");
        }
        for (const QString &text : {item.card, QString::fromLatin1(item.price), QString::fromLatin1(item.quantity),
                                    QString::fromLatin1(item.markup), QString::fromLatin1(item.package)}) {
            m_x->type(text);
            m_x->key("Return");
        }
        if (first)
            shot(m_x->waitForWindow(kItemTitle), "polozka");
        first = false;
        m_x->key("Tab");
        m_x->key("space");   // "Zapiš"
        QVERIFY2(m_x->waitUntilGone(kItemTitle), qPrintable(m_x->titles().join(u'|')));
        QVERIFY(window(kEditorTitle));
    }
    shot(m_x->waitForWindow(kEditorTitle), "doklad-polozky");
    m_x->key("Escape");
    QVERIFY(m_x->waitUntilGone(kEditorTitle));

    auto firm = open();
    store::Table &header = firm->data.ffPodklHlav;
    header.Open();
    header.SetIndexName(ix::ffPodklHlav::DO1);
    header.Last();
    m_document = firm->data.ffPodklHlavHLA_DO1.AsString();
    QCOMPARE(firm->data.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
    QCOMPARE(firm->data.ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FA-E2E"));
    QCOMPARE(firm->data.ffPodklHlavHLA_DDO.AsDate(), QDate(2026, 12, 5));
    QCOMPARE(firm->data.ffPodklHlavHLA_FAC.AsFloat(), 48.0);
    QCOMPARE(firm->data.ffPodklHlavHLA_EUR.AsFloat(), 2 * 24.0 + 3 * 10.0);
    store::Table &lines = itemsOf(firm->data, m_document);
    QCOMPARE(lines.RecordCount(), 2);
    lines.First();
    QCOMPARE(firm->data.ffPodklPolPOP_KAV.AsString(), m_card1);
    QCOMPARE(firm->data.ffPodklPolPOP_CKU.AsFloat(), 24.0);
    lines.Next();
    QCOMPARE(firm->data.ffPodklPolPOP_KAV.AsString(), m_card2);
    QCOMPARE(firm->data.ffPodklPolPOP_BAL.AsFloat(), 5.0);
}

void ClerkSession::correctionOfTheDocument()
{
    QVERIFY(!m_document.isEmpty());
    QVERIFY(window(kMainTitle, nullptr, true));
    m_x->key("F4");   // the new document is the current row of the list
    QVERIFY(window(kEditorTitle, "doklad-oprava"));
    m_x->key("F4");   // the first item
    QVERIFY(window(kItemTitle, "polozka-oprava"));   // the card is kept, the price has the focus
    m_x->key("Return");   // the price stays
    m_x->type(QStringLiteral("36"));
    m_x->key("Return");
    m_x->key("Return");   // the markup stays
    m_x->key("Return");   // the package size stays
    m_x->key("Tab");
    m_x->key("space");
    QVERIFY(m_x->waitUntilGone(kItemTitle));
    QVERIFY(window(kEditorTitle));
    // Back from the items to the header by keys: Shift+Tab passes "Měna" and
    // "Celk.částka" to "Číslo dokladu" (the exchange rate is off in a correction); Tab
    // leads on through the header and the items round to "Datum příjmu".
    for (int i = 0; i < 3; ++i)
        m_x->key("Tab", {QStringLiteral("Shift")});
    m_x->type(QStringLiteral("FA-OPR"));
    for (int i = 0; i < 4; ++i)
        m_x->key("Tab");
    m_x->type(QStringLiteral("1.11."));   // the year shown stays
    m_x->key("Tab");
    m_x->key("Escape");
    QVERIFY(m_x->waitUntilGone(kEditorTitle));

    auto firm = open();
    store::Table &lines = itemsOf(firm->data, m_document);
    QCOMPARE(lines.RecordCount(), 2);
    lines.First();
    QCOMPARE(firm->data.ffPodklPolPOP_CKU.AsFloat(), 36.0);
    store::Table &header = firm->data.ffPodklHlav;
    header.Open();
    header.SetIndexName(ix::ffPodklHlav::DO1);
    QVERIFY(header.FindKey({m_document}));
    QCOMPARE(firm->data.ffPodklHlavHLA_EUR.AsFloat(), 2 * 36.0 + 3 * 10.0);
    QCOMPARE(firm->data.ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FA-OPR"));
    QCOMPARE(firm->data.ffPodklHlavHLA_DDO.AsDate(), QDate(2026, 11, 1));
    firm->data.ffSemafor.Open();
    QVERIFY(firm->data.ffSemafor.IsEmpty());   // the document's lock is gone
}

void ClerkSession::importWithTheProgressWindow()
{
    // No code: the supplier picker opens on the supplier last used; Enter takes it.
    QVERIFY(newDocumentOf(QString()));
    QVERIFY(window(kPickerTitle, "vyber-dodavatele"));
    // F4 opens the supplier form on the supplier; Escape leaves it unchanged.
    m_x->key("F4");
    QVERIFY(glance(kSupplierTitle, "dodavatel", kPickerTitle));
    m_x->key("Return");
    QVERIFY(m_x->waitUntilGone(kPickerTitle));
    QVERIFY(window(kEditorTitle));
    m_x->key("F9");
    QVERIFY(window(kImportTitle));
    m_x->type(QStringLiteral("e2e"));
    shot(m_x->waitForWindow(kImportTitle), "import");
    m_x->key("Return");   // on to "Storno"
    m_x->key("Tab");      // "Import"
    m_x->key("space");
    // The card is rebuilt under its progress window; then its rebuilt stock is shown.
    const XWindow message = window(kMessageTitle, "import-prestavena-karta");
    QVERIFY(message);
    m_x->key("Return");
    QVERIFY(window(kEditorTitle, "import-hotovo"));
    m_x->key("Escape");
    QVERIFY(m_x->waitUntilGone(kEditorTitle));

    auto firm = open();
    TData &d = firm->data;
    d.ffDodavky.Open();
    d.ffDodavky.Last();
    QCOMPARE(d.ffDodavkyHLA_DO3.AsString(), QStringLiteral("E2E"));
    m_receipt = d.ffDodavkyHLA_DO1.AsString();
    d.ffPodklHlav.Open();
    d.ffPodklHlav.SetIndexName(ix::ffPodklHlav::DO1);
    d.ffPodklHlav.Last();
    QCOMPARE(d.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));   // the supplier picked
    QCOMPARE(d.ffDodavkyHLA_DAT.AsDate(), QDate::currentDate());
    d.ffSklad.Open();
    d.ffSklad.SetIndexName(ix::ffSklad::KAV);
    QVERIFY(d.ffSklad.FindKey({m_stockCard, m_stockVariant}));
    QCOMPARE(d.ffSkladSKL_STA.AsFloat(), m_stockBefore + 2);   // rebuilt, then the delivery added
}

void ClerkSession::deliveriesOverviewWithTheWorkbook()
{
    QVERIFY(window(kMainTitle, nullptr, true));
    m_x->key("Alt_L");   // the menu bar
    m_x->key("Right");
    m_x->key("Right");
    m_x->key("Down");
    m_x->key("Return");   // "Sestavy" → "Sestava dodávek"
    QVERIFY(window(kOverviewTitle));
    // The period typed with full stops: from 20 days ago in full, to today without its
    // year (the year shown stays).
    const QDate today = QDate::currentDate();
    const QDate from = today.addDays(-20);
    m_x->type(QStringLiteral("%1.%2.%3").arg(from.day()).arg(from.month()).arg(from.year()));
    m_x->key("Tab");
    m_x->type(QStringLiteral("%1.%2.").arg(today.day()).arg(today.month()));
    m_x->key("Return");   // on to the check box
    m_x->key("space");    // the workbook too
    shot(m_x->waitForWindow(kOverviewTitle), "prehled-dodavek");
    m_x->key("Return");   // on to "Storno"
    m_x->key("Tab");
    m_x->key("space");    // "Start"
    // The workbook is written first, and a message says where.
    QVERIFY(window(kMessageTitle, "prehled-dodavek-sesit"));
    m_x->key("Return");
    QVERIFY(m_x->waitUntilGone(kMessageTitle));
    QVERIFY(window(kSetupTitle, "nastaveni-tisku"));
    m_x->key("n", {QStringLiteral("Alt")});   // "Náhled"
    m_x->key("Return");
    QVERIFY(window(kPreviewTitle, "prehled-dodavek-nahled"));
    m_x->key("Escape");
    QVERIFY(m_x->waitUntilGone(kPreviewTitle));

    QFile text(m_firm + QStringLiteral("/PrehledDodavek.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    QVERIFY(!m_receipt.isEmpty());
    const QByteArray overview = text.readAll();
    QVERIFY(overview.contains(m_receipt.toLatin1()));   // today's receipt of the import
    // Exactly the receipts of the period typed: those of the last 20 days, none before.
    {
        auto firm = open();
        store::Table &receipts = firm->data.ffDodavky;
        receipts.Open();
        int inside = 0, outside = 0;
        for (receipts.First(); !receipts.Eof(); receipts.Next()) {
            const QDate date = firm->data.ffDodavkyHLA_DAT.AsDate();
            const QByteArray number = firm->data.ffDodavkyHLA_DO1.AsString().toLatin1();
            if (date >= from) {
                ++inside;
                QVERIFY2(overview.contains(number), number.constData());
            } else {
                ++outside;
                QVERIFY2(!overview.contains(number), number.constData());
            }
        }
        QVERIFY(inside > 1);
        QVERIFY(outside > 0);
    }
    const QString workbook = m_home + QStringLiteral("/Documents/Přehled faktur k ")
        + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(".xlsx");
    QFile xlsx(workbook);
    QVERIFY2(xlsx.open(QIODevice::ReadOnly), qPrintable(workbook));
    QVERIFY(xlsx.read(2) == "PK");   // a zip archive, as every workbook is
}

void ClerkSession::searchBySupplierNameAndXmlExport()
{
    QVERIFY(window(kMainTitle, nullptr, true));
    m_x->key("F5");
    QVERIFY(window(kSearchTitle));
    m_x->key("Down");     // "Hledej název dodavatele"
    m_x->key("Return");   // on to the search field
    m_x->type(QStringLiteral("Kovo"));
    shot(m_x->waitForWindow(kSearchTitle), "hledani");
    m_x->key("Tab");
    m_x->key("space");    // "Hledej"
    QVERIFY(m_x->waitUntilGone(kSearchTitle));
    shot(window(kMainTitle, nullptr, true), "hlavni-okno-nalezeno");

    // The document found goes out as XML under its number in the export directory.
    m_x->key("F9");
    QVERIFY(window(kExportTitle, "export-xml"));
    m_x->key("Return");
    QVERIFY(m_x->waitUntilGone(kExportTitle));
    QVERIFY(window(kMessageTitle, "export-xml-hotovo"));
    m_x->key("Return");
    QVERIFY(m_x->waitUntilGone(kMessageTitle));
    const QStringList files = QDir(m_export).entryList({QStringLiteral("*.xml")});
    QCOMPARE(files.size(), 1);
    QFile xml(m_export + files.front());
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(xml.readAll());
    // The supplier of the document found: "Kovo Dvořák a syn s.r.o." of the demo shop.
    QVERIFY2(content.contains(QStringLiteral("<DODAVATEL KOD=\"000002\"")), qPrintable(content.left(400)));
}

void ClerkSession::printPreview()
{
    QVERIFY(window(kMainTitle, nullptr, true));
    m_x->key("F8");
    const XWindow preview = window(kPreviewTitle, "nahled-dokladu");
    QVERIFY(preview);
    // The page keys move the pages at once, without a Tab first. The pages are compared
    // below the tool bar, whose page number field may blink.
    const auto pages = [&] {
        m_x->settle();
        const QImage image = m_x->grab(preview);
        return image.copy(0, image.height() / 4, image.width(), image.height() * 3 / 4);
    };
    const QImage top = pages();
    QVERIFY(!top.isNull());
    const struct {
        const char *key;
        bool atTop;
    } steps[] = {{"Next", false}, {"Prior", true}, {"Down", false}, {"Home", true}, {"End", false}, {"Home", true}};
    for (const auto &step : steps) {
        m_x->key(step.key);
        QVERIFY2((pages() == top) == step.atTop, step.key);
    }
    m_x->key("Escape");
    QVERIFY(m_x->waitUntilGone(kPreviewTitle));
    QVERIFY(m_program.running());
}

void ClerkSession::closingEndsTheProgram()
{
    QVERIFY(window(kMainTitle, nullptr, true));
    m_x->key("F4", {QStringLiteral("Alt")});
    QCOMPARE(m_program.wait(20s), std::optional<int>(0));
}

void ClerkSession::cancelledLoginEndsTheProgram()
{
    QVERIFY(!m_program.running());
    QVERIFY(writeIni(true));
    m_program.start(m_firm + QStringLiteral("/podklady"), {}, m_firm, m_env);
    QVERIFY(window(kLoginTitle));
    m_x->type(QStringLiteral("NOVAK"));
    m_x->key("Tab");
    m_x->type(QStringLiteral("heslo"));   // shown as stars
    shot(m_x->waitForWindow(kLoginTitle), "prihlaseni");
    m_x->key("Tab");      // "Storno"
    m_x->key("space");
    QVERIFY(m_x->waitUntilGone(kLoginTitle));
    // It ends by itself, not by a signal (as a sanitizer's report would end it).
    const std::optional<int> status = m_program.wait(20s);
    QVERIFY(status.has_value());
    QVERIFY2(*status < 128, qPrintable(QStringLiteral("ended by signal %1").arg(*status - 128)));
}

QTEST_GUILESS_MAIN(ClerkSession)
#include "test_clerk.moc"

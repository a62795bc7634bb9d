// Names, addresses and articles of the demo firm: a hardware and household shop in
// Brno buying from Czech suppliers and from two abroad.

#include "demo_data.h"

namespace {

DemoArticle article(const QString &line)
{
    QStringList parts = line.split(u'|');
    const QString name = parts.takeFirst();
    return {name, parts};
}

QVector<DemoArticle> articles(const QStringList &specs)
{
    QVector<DemoArticle> list;
    for (const QString &s : specs)
        list.append(article(s));
    return list;
}

} // namespace

const QVector<DemoSupplier> &demoSuppliers()
{
    static const QVector<DemoSupplier> list = {
        {"Železářství Novák s.r.o.", "Masarykova 12", "Brno", "602 00", "Česká republika", "Jan Novák", false},
        {"Kovo Dvořák a syn s.r.o.", "Průmyslová 1450", "Olomouc", "779 00", "Česká republika", "Petr Dvořák", false},
        {"Stavebniny Horák spol. s r.o.", "Lipová 8", "Jihlava", "586 01", "Česká republika", "Marie Horáková", false},
        {"Barvy Laky Černý s.r.o.", "Husova 233", "Pardubice", "530 02", "Česká republika", "Josef Černý", false},
        {"Nářadí Procházka a.s.", "Tovární 17", "Zlín", "760 01", "Česká republika", "Ing. Karel Procházka", false},
        {"Elektro Veselý s.r.o.", "Nádražní 45", "Přerov", "750 02", "Česká republika", "Lukáš Veselý", false},
        {"Dřevo Kučera s.r.o.", "Lesní 3", "Třebíč", "674 01", "Česká republika", "František Kučera", false},
        {"Zahradnictví Marek s.r.o.", "Polní 221", "Kroměříž", "767 01", "Česká republika", "Eva Marková", false},
        {"Instalace Pokorný s.r.o.", "Sokolská 90", "Ostrava", "702 00", "Česká republika", "Tomáš Pokorný", false},
        {"Spojovací materiál Král a.s.", "Vídeňská 101", "Brno", "619 00", "Česká republika", "Martin Král", false},
        {"Vodoinstalace Beneš s.r.o.", "Palackého 14", "Hradec Králové", "500 03", "Česká republika", "Jiří Beneš", false},
        {"Obchodní dům Růžička s.r.o.", "náměstí Míru 5", "Znojmo", "669 02", "Česká republika", "Hana Růžičková", false},
        {"Papírnictví Fiala s.r.o.", "Jiráskova 7", "Prostějov", "796 01", "Česká republika", "Pavel Fiala", false},
        {"Chemie Sedláček s.r.o.", "Chemická 2", "Kolín", "280 02", "Česká republika", "RNDr. Jan Sedláček", false},
        {"Drogerie Doležal s.r.o.", "Komenského 60", "Vyškov", "682 01", "Česká republika", "Lenka Doležalová", false},
        {"Textil Zeman s.r.o.", "Tyršova 31", "Liberec", "460 01", "Česká republika", "Václav Zeman", false},
        {"Kuchyňské potřeby Kolář s.r.o.", "Žižkova 19", "Tábor", "390 02", "Česká republika", "Jana Kolářová", false},
        {"Svítidla Navrátil s.r.o.", "Pražská 88", "Plzeň", "301 00", "Česká republika", "Roman Navrátil", false},
        {"Kování Čermák a.s.", "Brněnská 250", "Blansko", "678 01", "Česká republika", "Miroslav Čermák", false},
        {"Lepidla Urban s.r.o.", "Dukelská 6", "České Budějovice", "370 01", "Česká republika", "Zdeněk Urban", false},
        {"Hobby Vaněk s.r.o.", "Smetanova 40", "Hodonín", "695 01", "Česká republika", "Alena Vaňková", false},
        {"Sklo Blažek s.r.o.", "Sklářská 11", "Nový Bor", "473 01", "Česká republika", "Radek Blažek", false},
        {"Keramika Křížová s.r.o.", "Hrnčířská 4", "Kunštát", "679 72", "Česká republika", "Věra Křížová", false},
        {"Zámky Kříž s.r.o.", "U Mlýna 9", "Uherské Hradiště", "686 01", "Česká republika", "Ondřej Kříž", false},
        {"Ochranné pomůcky Šimek s.r.o.", "Havlíčkova 77", "Kladno", "272 01", "Česká republika", "Michal Šimek", false},
        {"Hutní materiál Moravec s.r.o.", "Hutnická 300", "Třinec", "739 61", "Česká republika", "Stanislav Moravec", false},
        {"Kabely Pospíšil s.r.o.", "Elektrárenská 15", "Mladá Boleslav", "293 01", "Česká republika", "Jaroslav Pospíšil", false},
        {"Plasty Holub s.r.o.", "Okružní 128", "Kopřivnice", "742 21", "Česká republika", "Daniela Holubová", false},
        {"Velkoobchod Huber GmbH", "Hauptstraße 12", "Wien", "1010", "Rakousko", "Franz Huber", true},
        {"Werkzeug Schmidt GmbH", "Industriestraße 5", "Dresden", "01067", "Německo", "Klaus Schmidt", true},
    };
    return list;
}

const QVector<DemoGroup> &demoGroups()
{
    static const QVector<DemoGroup> list = {
        {"NAR", 22, "ks", 45, 900, true, "Profi", articles({
             "Kladivo zámečnické|300 g|500 g|800 g|1000 g",
             "Kladivo tesařské|450 g|600 g",
             "Šroubovák plochý|3 mm|4 mm|5,5 mm|6,5 mm|8 mm",
             "Šroubovák křížový|PH0|PH1|PH2|PH3",
             "Kleště kombinované|160 mm|180 mm|200 mm",
             "Kleště štípací boční|140 mm|160 mm|180 mm",
             "Pilka na kov|300 mm",
             "Pila ocaska|350 mm|400 mm|450 mm",
             "Metr svinovací|3 m|5 m|8 m|10 m",
             "Vodováha hliníková|40 cm|60 cm|80 cm|100 cm|120 cm",
             "Klíč stranový|8x10|10x13|13x17|17x19|19x22",
             "Klíč očkový|8x10|10x13|13x17|17x19",
             "Dláto ploché|10 mm|16 mm|20 mm|25 mm",
             "Pilník plochý|150 mm|200 mm|250 mm",
             "Špachtle nerezová|40 mm|60 mm|80 mm|100 mm",
             "Stěrka zubová|6 mm|8 mm|10 mm",
             "Vrták do betonu|6 mm|8 mm|10 mm|12 mm",
             "Vrták do kovu HSS|3 mm|5 mm|6 mm|8 mm|10 mm",
             "Sada bitů|10 ks|32 ks",
             "Nůž odlamovací|9 mm|18 mm|25 mm",
             "Úhelník zámečnický|150 mm|250 mm|300 mm",
             "Kleště siko|250 mm|300 mm",
             "Pistole na silikon|otevřená|uzavřená",
             "Tavná pistole|malá|velká",
             "Sekera štípací|800 g|1250 g|1600 g",
             "Páčidlo|400 mm|600 mm|800 mm",
             "Svěrka truhlářská|150 mm|300 mm|500 mm",
         })},
        {"SPO", 22, "ks", 18, 240, true, "Profi", articles({
             "Vrut zápustný|3,5x30|4x40|4x50|5x60|6x80",
             "Šroub metrický|M5x20|M6x30|M8x40|M10x50",
             "Matice šestihranná|M5|M6|M8|M10|M12",
             "Podložka plochá|5,3 mm|6,4 mm|8,4 mm|10,5 mm",
             "Hmoždinka nylonová|6 mm|8 mm|10 mm|12 mm",
             "Hřebík stavební|40 mm|60 mm|80 mm|100 mm",
             "Nýt trhací|3,2x8|4x10|4,8x12",
             "Kotva chemická|300 ml",
             "Stahovací pásky|100 mm|200 mm|300 mm",
             "Šroub vratový|M6x50|M8x60|M8x80|M10x100",
             "Háček s vrutem|malý|střední|velký",
             "Závitová tyč|M6|M8|M10|M12",
             "Úhelník montážní|40x40|60x60|80x80",
         })},
        {"BAR", 22, "ks", 65, 1200, true, "Eko", articles({
             "Barva syntetická bílá|0,75 l|2,5 l|5 l",
             "Email lesklý červený|0,75 l|2,5 l",
             "Email matný černý|0,75 l|2,5 l",
             "Fasádní barva bílá|5 l|10 l|15 l",
             "Penetrace hloubková|1 l|5 l|10 l",
             "Lak na dřevo čirý|0,75 l|2,5 l",
             "Lazura ořech|0,75 l|2,5 l|5 l",
             "Lazura teak|0,75 l|2,5 l",
             "Ředidlo syntetické|0,4 l|0,7 l|4 l",
             "Štětec plochý|25 mm|50 mm|75 mm|100 mm",
             "Váleček malířský|10 cm|18 cm|25 cm",
             "Malířská páska|19 mm|30 mm|48 mm",
             "Sádrový tmel|1 kg|5 kg",
             "Silikon sanitární|bílý|transparentní",
             "Akryl|bílý|šedý",
             "Montážní pěna|500 ml|750 ml",
         })},
        {"ELE", 22, "ks", 20, 800, true, "Profi", articles({
             "Žárovka LED E27|6 W|9 W|12 W|15 W",
             "Žárovka LED E14|4 W|6 W",
             "Prodlužovací kabel|3 m|5 m|10 m|25 m",
             "Zásuvka jednoduchá|bílá|béžová",
             "Vypínač řazení 1|bílý|béžový",
             "Baterie alkalická|AA 4 ks|AAA 4 ks|9 V",
             "Svítilna kapesní|LED malá|LED velká",
             "Kabel CYKY|3x1,5|3x2,5|5x2,5",
             "Zásuvka dvojitá|bílá|béžová",
             "Rozbočovač|3 zásuvky|5 zásuvek",
             "Jistič|10 A|16 A|20 A|25 A",
             "Svorkovnice|2,5 mm2|4 mm2|6 mm2",
         })},
        {"ZAH", 22, "ks", 30, 1500, true, "Profi", articles({
             "Hadice zahradní 1/2\"|15 m|25 m|50 m",
             "Konev plastová|5 l|10 l",
             "Rýč zahradní|rovný|špičatý",
             "Hrábě kovové|12 zubů|16 zubů",
             "Nůžky zahradní|dvoubřité|jednobřité",
             "Substrát zahradnický|20 l|50 l|70 l",
             "Květináč plastový|12 cm|16 cm|20 cm|25 cm",
             "Postřikovač zahradní|kruhový|výsuvný",
             "Sekačka ruční|30 cm|38 cm",
             "Hnojivo univerzální|1 kg|3 kg|10 kg",
             "Semena trávníku|0,5 kg|1 kg|5 kg",
             "Kolečko stavební|80 l|100 l",
         })},
        {"DRO", 22, "ks", 15, 220, true, "Eko", articles({
             "Prášek na praní|1,5 kg|3 kg|6 kg",
             "Prostředek na nádobí|500 ml|1 l",
             "Čistič oken|500 ml|750 ml",
             "Mýdlo tekuté|300 ml|500 ml|1 l",
             "Rukavice pracovní|vel. 8|vel. 9|vel. 10|vel. 11",
             "Pytle na odpad|35 l|60 l|120 l",
             "Houbička na nádobí|3 ks|10 ks",
             "Toaletní papír|8 rolí|16 rolí",
             "Kuchyňské utěrky|2 role|4 role",
             "Čistič WC|750 ml|1 l",
             "Sůl do myčky|1,5 kg|3 kg",
         })},
        {"POT", 5, "ks", 12, 260, true, "Bio", articles({
             "Káva zrnková|250 g|500 g|1 kg",
             "Káva mletá|250 g|500 g",
             "Čaj černý|20 sáčků|50 sáčků|100 sáčků",
             "Cukr krystal|1 kg|5 kg",
             "Mouka hladká|1 kg|5 kg",
             "Těstoviny vřetena|500 g|1 kg",
             "Olej slunečnicový|1 l|3 l",
             "Med květový|500 g|900 g",
             "Minerální voda|0,5 l|1,5 l",
             "Sůl jodidovaná|1 kg",
             "Rýže dlouhozrnná|500 g|1 kg",
             "Ovesné vločky|500 g",
             "Čokoláda hořká|100 g|200 g",
             "Sušenky máslové|150 g|300 g",
         })},
        {"CEN", 0, "ks", 20, 1000, true, {}, articles({
             "Dárkový poukaz|200 Kč|500 Kč|1000 Kč",
             "Poštovní známka|A|B|E",
             "Dálniční známka|10denní|měsíční|roční",
         })},
        {"SLU", 22, "h", 80, 450, false, {}, articles({
             "Doprava zboží|do 10 km|do 30 km|do 50 km",
             "Montáž|hodina",
             "Řezání skla|na míru",
             "Míchání barev|do 5 l|nad 5 l",
         })},
    };
    return list;
}

const QVector<DemoUser> &demoUsers()
{
    static const QVector<DemoUser> list = {
        {"002", "SKLADNIK", "sklad", "PK", "SKL", "Kratochvíl Pavel", "+420 541 212 346", "sklad@kramora.cz"},
        {"003", "ÚČETNÍ", "ucty", "MS", "UCT", "Svobodová Marie", "+420 541 212 347", "ucetni@kramora.cz"},
    };
    return list;
}

DemoUser demoOperator()
{
    return {"001", {}, {}, "JN", "ADM", "Nováková Jana", "+420 541 212 345", "vedouci@kramora.cz"};
}

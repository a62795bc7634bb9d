// The catalogue of table components and the table definitions: names for a firm, and
// definitions that the store can create and the program can use.

#include "store/tables/tables.h"

#include <gtest/gtest.h>
#include <QSet>

using namespace store;

namespace {

TEST(Catalogue, NamesEveryComponentOnceWithItsFirmRule)
{
    const auto &list = tables::catalogue();
    ASSERT_EQ(list.size(), 76);
    QSet<QString> components;
    QSet<QString> names;
    int perFirm = 0;
    for (const TableDef *t : list) {
        EXPECT_TRUE(t->component.startsWith(QStringLiteral("ff"))) << t->component.toStdString();
        components.insert(t->component);
        names.insert(t->nameForFirm(QStringLiteral("0002")));
        if (!t->prefix.isEmpty()) {
            ++perFirm;
            EXPECT_EQ(t->builtInName, t->prefix + QStringLiteral("0001"));
        } else {
            EXPECT_TRUE(t->builtInName.endsWith(QStringLiteral("0000"))
                        || t->builtInName == QStringLiteral("SYS0001"))
                << t->builtInName.toStdString();
        }
    }
    EXPECT_EQ(components.size(), 76);
    EXPECT_EQ(names.size(), 76);
    EXPECT_EQ(perFirm, 50);
    EXPECT_EQ(list.first()->component, QStringLiteral("ffDenik"));
    EXPECT_EQ(list.last()->component, QStringLiteral("ffSemafor"));

    const struct { const char *component; const char *name; } cases[] = {
        {"ffPodklHlav", "POD0002"}, {"ffPodklPol", "POP0002"}, {"ffInvePol", "IPl0002"},
        {"ffObjHlav", "OBJ0002"},   {"ffCeniky", "CEN0000"},   {"ffUzivatele", "Usr0000"},
        {"ffSemafor", "SYS0001"},   {"ffTypPlatby", "Bpt0000"},
    };
    for (const auto &c : cases) {
        const TableDef *t = tables::findComponent(QString::fromLatin1(c.component));
        ASSERT_NE(t, nullptr) << c.component;
        EXPECT_EQ(t->nameForFirm(QStringLiteral("0002")), QLatin1String(c.name));
    }
    EXPECT_EQ(tables::findComponent(QStringLiteral("ffNothing")), nullptr);
}

// Every definition the store creates or the program opens must hold together: unique
// field names, sized strings, index keys that name stored fields. A calculated field may
// stand anywhere in the field order.
void expectSound(const TableDef &t)
{
    SCOPED_TRACE(t.component.toStdString());
    QSet<QString> names;
    for (const FieldDef &f : t.fields) {
        EXPECT_FALSE(names.contains(f.name.toUpper())) << f.name.toStdString();
        names.insert(f.name.toUpper());
        if (f.type == FieldType::String) {
            EXPECT_GT(f.size, 0) << f.name.toStdString();
        }
    }
    QSet<QString> indexNames;
    for (const IndexDef &ix : t.indexes) {
        EXPECT_FALSE(indexNames.contains(ix.name.toUpper())) << ix.name.toStdString();
        indexNames.insert(ix.name.toUpper());
        EXPECT_FALSE(ix.fields.isEmpty()) << ix.name.toStdString();
        for (const IndexField &k : ix.fields) {
            const int i = t.fieldIndex(k.field);
            ASSERT_GE(i, 0) << ix.name.toStdString() << " " << k.field.toStdString();
            EXPECT_FALSE(t.fields[i].calculated) << k.field.toStdString();
        }
    }
}

TEST(Catalogue, DefinitionsHoldTogether)
{
    for (const TableDef *t : tables::catalogue())
        expectSound(*t);
    for (const TableDef *t : {&tables::dodavkyFull(), &tables::dokladObsah(), &tables::sesDodMem()})
        expectSound(*t);
}

// The document content keeps its designed field order, the calculated DOK_PRV between
// DOK_VAP and DOK_CIS; the value computation and the import fill it by name.
TEST(Catalogue, DocumentContentFieldsInTheirOrder)
{
    const QStringList want{"DOK_PC1", "DOK_NC1", "DOK_KUS", "DOK_PCC", "DOK_PCS", "DOK_RAB", "DOK_SLP",
                           "DOK_DAN", "DOK_DPH", "DOK_NCC", "DOK_SKU", "DOK_POM", "DOK_KAV", "DOK_IND",
                           "DOK_NAZ", "DOK_VAP", "DOK_PRV", "DOK_CIS", "DOK_RAP"};
    QStringList have;
    for (const FieldDef &f : tables::dokladObsah().fields)
        have.append(f.name);
    EXPECT_EQ(have, want);
    const int prv = tables::dokladObsah().fieldIndex(QStringLiteral("DOK_PRV"));
    ASSERT_GE(prv, 0);
    EXPECT_TRUE(tables::dokladObsah().fields[prv].calculated);
}

TEST(Catalogue, SchemaHasTheUsedTablesWithAllStoredColumns)
{
    QStringList names;
    for (const TableDef *t : tables::schemaTables())
        names << t->builtInName;
    names.sort();
    EXPECT_EQ(names.join(u' '),
              QStringLiteral("CEN0000 Cis0001 Den0001 Dod0001 FAS0001 POD0001 POP0001 Prd0001 "
                            "SYS0001 Skl0001 Sor0001 Usr0000 Vla0000"));
    // The data module's receipts component leaves out the receipt type; the stored table
    // keeps it in its place.
    EXPECT_EQ(tables::dodavky().fieldIndex(QStringLiteral("HLA_TYP")), -1);
    EXPECT_EQ(tables::dodavkyFull().fieldIndex(QStringLiteral("HLA_TYP")), 2);
    EXPECT_EQ(tables::dodavkyFull().fields.size(), 12);
}

} // namespace

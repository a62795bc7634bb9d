#pragma once
// A data module connected to a fresh firm schema on either engine, and a prompter that
// records messages instead of showing them.

#include "store_test_support.h"

#include "app/prompter.h"
#include "store/firmschema.h"
#include "store/tables/tables.h"
#include "store/tdata.h"

#include <QStringList>
#include <initializer_list>
#include <memory>

namespace startuptest {

class RecordingPrompter final : public Prompter {
public:
    RecordingPrompter() { setPrompter(this); }
    ~RecordingPrompter() override { setPrompter(nullptr); }
    void ShowMessage(const QString &text) override { messages << text; }
    bool Confirm(const QString &text) override
    {
        messages << text;
        return false;
    }
    QStringList messages;
};

// Drops every table of the program in db and creates the schema of firm 0001 anew.
inline void freshSchema(store::Database &db)
{
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(QStringLiteral("0001"));
        if (db.TableExists(name))
            db.DropTable(name);
    }
    CreateFirmSchema(db, QStringLiteral("0001"), false);
}

// A station: a data module of its own with its own connection and address.
inline std::unique_ptr<TData> station(const storetest::TestDatabase &db, const QString &address,
                                      const QString &userFullName = TData::kDefaultUserFullName)
{
    auto data = std::make_unique<TData>();
    data->FirmNumber = QStringLiteral("0001");
    data->SetTableNames();
    data->Database.Connect(db.params());
    data->LocalAddress = address;
    data->UserFullName = userFullName;
    return data;
}

inline void appendRow(store::Table &t, std::initializer_list<std::pair<const char *, QVariant>> values)
{
    t.Append();
    for (const auto &[field, value] : values)
        t.FieldByName(QLatin1String(field)).SetValue(value);
    t.Post();
}

} // namespace startuptest

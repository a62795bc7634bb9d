#pragma once
// A shop's configuration in a directory of its own, naming a database of either engine,
// and podklady-db run on it as the administrator runs it.

#include "firm_tables.h"
#include "store_test_support.h"
#include "tool_ini.h"
#include "tool_run.h"

#include "app/login.h"
#include "store/tdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace admintest {

// A Kramora.ini in a directory of its own. SQLite: the file data/<alias>.sqlite there,
// which init creates. PostgreSQL: the test program's database on the test server, emptied.
class Shop {
public:
    Shop(storetest::Backend engine, const QString &alias = QStringLiteral("obchod"))
    {
        if (engine == storetest::Backend::SQLite) {
            m_params.kind = store::ConnectionParams::Kind::SQLite;
            m_params.sqliteFile = m_dir.filePath(QStringLiteral("data/%1.sqlite").arg(alias));
        } else {
            // The test program's one database on the server, emptied: each shop starts
            // as on a new database.
            m_db = std::make_unique<storetest::TestDatabase>(engine);
            m_params = m_db->params();
            store::Database db;
            db.Connect(m_params);
            for (const QString &table : db.TableNames())
                db.DropTable(table);
        }
        writeIni(QStringLiteral("[Kramora]\r\nKramora=0001\r\n") + IniDatabaseKeys(m_params));
    }

    void writeIni(const QString &text) const
    {
        QFile f(ini());
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
            ADD_FAILURE() << "cannot write " << ini().toStdString();
    }

    QString ini() const { return m_dir.filePath(QStringLiteral("Kramora.ini")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    const store::ConnectionParams &params() const { return m_params; }

    // podklady-db with the arguments and this shop's --ini, in the shop's directory,
    // `input` on its standard input.
    ToolRun tool(const QStringList &args, const QByteArray &input = {}) const
    {
        return runProgram(QStringLiteral(PODKLADY_DB), args + QStringList{QStringLiteral("--ini"), ini()}, 300000,
                          m_dir.path(), input);
    }

    // A firm the program can open: its owner and the user SPRAVCE with password "tajne".
    ToolRun initFirm(const QStringList &extra = {}) const
    {
        return tool(QStringList{QStringLiteral("init"), QStringLiteral("--owner-name"), QStringLiteral("Železářství U Mostu"),
                                QStringLiteral("--owner-street"), QStringLiteral("Mostní 4"),
                                QStringLiteral("--owner-town"), QStringLiteral("Písek"), QStringLiteral("--user"),
                                QStringLiteral("spravce"), QStringLiteral("--initials"), QStringLiteral("SP"),
                                QStringLiteral("--name"), QStringLiteral("Správce Karel"),
                                QStringLiteral("--password-stdin")}
                        + extra,
                    "tajne\n");
    }

    // A data module of firm 0001 on this shop's database (a station).
    std::unique_ptr<TData> station(const QString &address = QStringLiteral("10.0.0.7")) const
    {
        auto data = FirmDataModule(m_params, QStringLiteral("0001"));
        data->LocalAddress = address;
        data->ExePath = m_dir.path() + u'/';
        return data;
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<storetest::TestDatabase> m_db;
    store::ConnectionParams m_params;
};

// Plays the user at the login dialog: OK with the name and password given.
class ScriptedDialog final : public LoginDialog {
public:
    ScriptedDialog(const QString &name, const QString &password) : m_name(name), m_password(password) {}
    int Show(QString &name, QString &password) override
    {
        ++shown;
        name = m_name;
        password = m_password;
        return 1;
    }
    int shown = 0;

private:
    QString m_name, m_password;
};

} // namespace admintest

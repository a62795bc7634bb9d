// The main window's export command (F9) on a real database of each engine: it asks the
// program's windows for the file and writes it, and the focus goes back to the list.

#include "export_fixture.h"
#include "testscreens.h"

#include "core/errors.h"
#include "dodavky.h"

#include <QTemporaryDir>

namespace xmltest {
namespace {

// The save dialog of the program's windows played by the fixture's dialog; any other
// window is a test failure.
class SaveDialogScreens final : public TestScreens {
public:
    explicit SaveDialogScreens(ScriptedSaveDialog &dialog) : m_dialog(dialog) {}

    QString GetSaveFileName(const QString &title, const QString &dir, const QString &name, const QString &filter,
                            const QString &defaultSuffix) override
    {
        return m_dialog(title, dir, name, filter, defaultSuffix);
    }

private:
    ScriptedSaveDialog &m_dialog;
};

using ExportCommandTest = ExportTest;

TEST_P(ExportCommandTest, F9WritesTheCurrentDocumentAndGivesTheFocusBackToTheList)
{
    SaveDialogScreens screens(dialog);
    TDodavky main;
    main.FormCreate();   // the list at its last document, 0000000006
    select(QStringLiteral("0000000005"));
    QVector<int> focused;
    QObject::connect(&main, &FormCommands::focusRequested, [&](int control) { focused << control; });
    dialog.answer = exportDir.filePath(QStringLiteral("0000000005.xml"));

    EXPECT_TRUE(main.FormKeyDown(Qt::Key_F9, Qt::NoModifier));

    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(readAll(dialog.answer), readAll(QStringLiteral(PODKLADY_XML_EXPECTED "/podklad_0000000005.xml")));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Soubor dodávky 0000000005.xml vytvořen.")});
    EXPECT_EQ(focused, QVector<int>{TDodavky::DBGrid1});
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000005"));
    expectTablesClosed();

    // Cancelled: nothing more is written, the focus still goes back.
    dialog.answer.clear();
    focused.clear();
    main.Button5Click();
    EXPECT_EQ(exportDirEntries(), QStringList{QStringLiteral("0000000005.xml")});
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(focused, QVector<int>{TDodavky::DBGrid1});

    // A file that cannot be made: the error reaches the caller, the focus goes back.
    dialog.answer = exportDir.filePath(QStringLiteral("chybí/x.xml"));
    focused.clear();
    EXPECT_THROW(main.Button5Click(), AppError);
    EXPECT_EQ(focused, QVector<int>{TDodavky::DBGrid1});
    expectTablesClosed();
    main.FormClose();
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportCommandTest,
                         testing::Values(storetest::Backend::SQLite, storetest::Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
} // namespace xmltest

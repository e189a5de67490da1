// SPDX-License-Identifier: GPL-3.0-or-later
// Two desks' windows, each on a data folder of its own, on one room database: what one desk adds to the
// directory reaches the other desk's lists and open directory window, keeping what its operator ticked
// and typed; a desk cut off from the server shows its copy and catches up by itself once it is back.
#include "app/CommandAvailability.h"
#include "app/MainWindow.h"
#include "app/MessageEditor.h"
#include "app/RecipientLists.h"
#include "app/RoomDirectoryLink.h"
#include "directory/ui/Registr.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/room/RoomDatabase.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

namespace zolbin {
namespace {

// A desk's window on its data folder, its directory in the room's database.
struct DeskWindow
{
    DeskWindow(const std::string& database, const char* desk)
    {
        dir.write("Zolbin.ini", test::settingsFile("") + "[Outbox]\r\nDatabase=" + database +
                                    "\r\nDesk=" + desk + "\r\nGates=none\r\n");
    }
    void start()
    {
        program = std::make_unique<test::Program>(dir.folder());
        // The window opens on its copy; the room is joined behind it, the directory's commands waiting.
        const RoomDirectoryLink* room = program->main().roomDirectory();
        ASSERT_TRUE(room != nullptr && !room->joined());
        for (Command command :
             {Command::Subscribers, Command::Groups, Command::Companies, Command::SortByName})
            EXPECT_FALSE(program->main().action(command)->isEnabled()) << CommandName(command);
        ASSERT_TRUE(QTest::qWaitFor([room] { return room->joined(); }, 10000));
        EXPECT_TRUE(program->main().action(Command::Subscribers)->isEnabled());
        RichEdit = test::control<MessageEditor>(&program->main(), "RichEdit");
        lbAbonent = test::control<TickList>(&program->main(), "lbAbonent");
    }
    int rowOf(const QString& name) const
    {
        for (int row = 0; row < lbAbonent->count(); ++row)
            if (lbAbonent->lineText(row).startsWith(name + QStringLiteral(" -- ")))
                return row;
        return -1;
    }
    void add(const char* name, int number)
    {
        TAbonentList& abonents = program->session.abonents;
        abonents.Add(std::make_shared<TAbonent>(test::subscriber(name, number, 240, HomeProviderName())));
        ASSERT_TRUE(abonents.Save(dir.folder()));
    }
    // The directory window as the menu opens it, here without its modal loop.
    TfmRegistr& openDirectoryWindow(const QString& status)
    {
        TfmRegistr& registr = *program->windows.fmRegistr;
        registr.SetKind(TfmRegistr::KindAbonent);
        registr.setRoomStatus(status);
        registr.show();
        return registr;
    }
    QString shownStatus() const { return program->windows.fmRegistr->lblStatus->text(); }
    bool listed(const char* name) const
    {
        return rowOf(QString::fromUtf8(name)) >= 0 &&
               !program->windows.fmRegistr->ListBox->findItems(QString::fromUtf8(name), Qt::MatchExactly)
                    .isEmpty();
    }

    test::TempDataDir dir;
    std::unique_ptr<test::Program> program;
    MessageEditor* RichEdit = nullptr;
    TickList* lbAbonent = nullptr;
};

TEST(RoomDirectoryWindows, EditAtOneDeskReachesTheOtherKeepingTickAndTextAndAfterAnOutage)
{
    test::ensureApplication();
    test::PromptRecorder prompts;
    prompts.answer(true); // desk 1 brings its directory to the empty room
    const std::string db = test::freshDatabase();
    DeskWindow one(test::addressOf(db), "desk-1");
    DeskWindow two(test::addressOf(db, "&application_name=desk2"), "desk-2");
    test::writeDirectory(one.dir.folder(),
                         {test::subscriber("Анна", 101, 240, HomeProviderName()),
                          test::subscriber("Борис", 102, 240, HomeProviderName())},
                         {}, {HomeProviderDefaults()});
    one.start();
    two.start();
    ASSERT_EQ(two.lbAbonent->count(), 2);
    test::toggleTick(two.lbAbonent, two.rowOf(QStringLiteral("Борис")));
    test::typeText(two.RichEdit, QStringLiteral("Смена в 8"));
    TfmRegistr& registr = two.openDirectoryWindow(QString());
    registr.ListBox->setCurrentRow(1);

    const auto keptTickAndText = [&two, &registr] {
        const int boris = two.rowOf(QStringLiteral("Борис"));
        EXPECT_TRUE(boris >= 0 && two.lbAbonent->ticked(boris));
        EXPECT_EQ(two.RichEdit->toPlainText(), QStringLiteral("Смена в 8"));
        ASSERT_NE(registr.ListBox->currentItem(), nullptr);
        EXPECT_EQ(registr.ListBox->currentItem()->text(), QStringLiteral("Борис"));
    };
    const QString changed = QStringLiteral("Изменено: desk-1, ");
    one.add("Дина", 104);
    ASSERT_TRUE(QTest::qWaitFor([&] { return two.listed("Дина"); }, 5000));
    keptTickAndText();
    EXPECT_TRUE(two.shownStatus().startsWith(changed)) << two.shownStatus().toStdString();

    // Desk 2 is cut off; desk 1 keeps its connection and saves meanwhile.
    test::onPostgres("ALTER DATABASE " + db + " ALLOW_CONNECTIONS false");
    test::onPostgres(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'desk2'");
    const QString away = QStringLiteral("Справочник: общая база недоступна, показана копия от ");
    ASSERT_TRUE(QTest::qWaitFor([&] { return two.shownStatus().startsWith(away); }, 10000))
        << two.shownStatus().toStdString();
    one.add("Ева", 105);
    QTest::qWait(200);
    EXPECT_FALSE(two.listed("Ева"));

    test::onPostgres("ALTER DATABASE " + db + " ALLOW_CONNECTIONS true");
    ASSERT_TRUE(QTest::qWaitFor([&] { return two.listed("Ева"); }, 15000));
    keptTickAndText();
    EXPECT_TRUE(two.shownStatus().startsWith(changed)) << two.shownStatus().toStdString();
    // Listening again: the next save is told, not found by the next look at the server.
    one.add("Жанна", 106);
    EXPECT_TRUE(QTest::qWaitFor([&] { return two.listed("Жанна"); }, 1500));
    registr.hide();
}

} // namespace
} // namespace zolbin

// SPDX-License-Identifier: GPL-3.0-or-later
// The room's directory on the same PostgreSQL as its outbox: two desks, each with a data folder of its own,
// edit it with the lists' own operations (as the windows do) and save their change to the room.
#include "directory/Cascades.h"
#include "directory/Settings.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "records/DeskDirectory.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/room/RoomDatabase.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;

namespace {

// The room's first directory: two companies, three subscribers, a group of two.
DirectoryFiles baseDirectory()
{
    DirectoryFiles d;
    d.providers.AddHomeProvider();
    d.company(W("Пейджер"), Gate::SNPP, 4444);
    const AbonentPtr anna = d.subscriber(W("Анна"), 1, W("Пейджер"));
    const AbonentPtr boris = d.subscriber(W("Борис"), 2, W("Пейджер"));
    d.subscriber(W("Вера"), 3, "");
    d.group(W("Смена"), {anna, boris});
    return d;
}

std::string fileOf(const std::string& folder, const char* name)
{
    std::string bytes;
    (void)readWholeFile(folder + "/" + name, bytes);
    return bytes;
}

// A desk: its data folder, the lists loaded from it, and its room directory.
struct Desk
{
    void start(const std::string& db, const char* name, bool bring = true)
    {
        directory = DeskDirectory::Start(addressOf(db), W(name), dir.folder(), [this, bring] {
            ++asked;
            return bring;
        });
        load();
    }
    void load()
    {
        abonents.Clear();
        groups.Clear();
        providers.Clear();
        ASSERT_TRUE(abonents.LoadFromFile(dir.file(AbonentFileName)));
        ASSERT_TRUE(groups.LoadFromFile(dir.file(GroupFileName)));
        ASSERT_TRUE(providers.LoadFromFile(dir.file(CompanyFileName)));
    }
    // What the subscriber dialog's OK does, then the change sent to the room.
    Status change(const char* name, const std::function<void(TAbonent&)>& edit)
    {
        edit(*abonents[abonents.IndexOfName(W(name))]);
        const Status written = abonents.Save(dir.folder());
        EXPECT_TRUE(written) << (written ? "" : written.failure().russian());
        EXPECT_TRUE(groups.LinkMembers(abonents, dir.folder()));
        return saved();
    }
    Status saved()
    {
        const Result<bool> s = directory->SaveFolder();
        load();
        return s ? Status{} : Status{s.failure()};
    }
    std::string files() const
    {
        return fileOf(dir.path(), AbonentFileName) + fileOf(dir.path(), GroupFileName) +
               fileOf(dir.path(), CompanyFileName);
    }

    TempDataDir dir;
    std::unique_ptr<DeskDirectory> directory;
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
    int asked = 0;
};

using Edit = std::function<Status(Desk&)>;

Status number(Desk& d, const char* name, int n)
{
    return d.change(name, [n](TAbonent& a) { a.Number = n; });
}

struct Scenario
{
    const char* title;
    Edit first, second;  // desk A's edit, then desk B's on what it loaded before A's
    const char* refused; // the record B is told desk A changed first, or null
    std::function<void(DirectoryFiles&)> expected; // the base changed as the room must hold it
};

class TwoDesks : public ::testing::TestWithParam<Scenario>
{
};

TEST_P(TwoDesks, EveryEditKeptOrRefusedWithWhoCameFirst)
{
    const Scenario& s = GetParam();
    const std::string db = freshDatabase();
    Desk a, b;
    baseDirectory().write(a.dir.path());
    a.start(db, "desk-a");
    ASSERT_EQ(a.asked, 1);
    ASSERT_TRUE(a.directory->online());
    b.start(db, "desk-b");
    ASSERT_EQ(b.asked, 0);
    ASSERT_EQ(b.files(), a.files());

    ASSERT_TRUE(s.first(a));
    const Status second = s.second(b);
    if (s.refused == nullptr) {
        EXPECT_TRUE(second) << second.failure().russian();
    } else {
        ASSERT_FALSE(second);
        const std::string told = second.failure().russian();
        const std::string head = W("Запись «") + W(s.refused) + W("» изменена на месте desk-a в ");
        const std::string tail = W("; ваше изменение не сохранено");
        ASSERT_EQ(told.size(), head.size() + 5 + tail.size()) << told;
        EXPECT_EQ(told.substr(0, head.size()), head);
        EXPECT_EQ(told.substr(head.size() + 2, 1), ":");
        EXPECT_EQ(told.substr(head.size() + 5), tail);
    }
    ASSERT_TRUE(a.directory->Refresh());
    DirectoryFiles expected = baseDirectory();
    s.expected(expected);
    TempDataDir want;
    expected.write(want.path());
    const std::string wanted = fileOf(want.path(), AbonentFileName) + fileOf(want.path(), GroupFileName) +
                               fileOf(want.path(), CompanyFileName);
    EXPECT_EQ(a.files(), wanted);
    EXPECT_EQ(b.files(), wanted); // the refused desk sees what came first
    EXPECT_EQ(b.directory->lastChange().russian().substr(0, 15), W("Изменено: desk-"));
}

AbonentPtr named(DirectoryFiles& d, const char* name)
{
    return d.abonents[d.abonents.IndexOfName(W(name))];
}

INSTANTIATE_TEST_SUITE_P(
    Room, TwoDesks,
    ::testing::Values(
        Scenario{"different records both kept", [](Desk& d) { return number(d, "Анна", 11); },
                 [](Desk& d) { return number(d, "Вера", 33); }, nullptr,
                 [](DirectoryFiles& d) {
                     named(d, "Анна")->Number = 11;
                     named(d, "Вера")->Number = 33;
                 }},
        Scenario{"same record: the second refused", [](Desk& d) { return number(d, "Борис", 22); },
                 [](Desk& d) { return number(d, "Борис", 222); }, "Борис",
                 [](DirectoryFiles& d) { named(d, "Борис")->Number = 22; }},
        Scenario{"a rename reaches the group; an addition elsewhere kept",
                 [](Desk& d) { return d.change("Анна", [](TAbonent& a) { a.Name = W("Алла"); }); },
                 [](Desk& d) {
                     auto added = std::make_shared<TAbonent>(*d.abonents[2]);
                     added->Name = W("Дина");
                     d.abonents.Add(added);
                     EXPECT_TRUE(d.abonents.Save(d.dir.folder()));
                     EXPECT_TRUE(d.groups.LinkMembers(d.abonents, d.dir.folder()));
                     return d.saved();
                 },
                 nullptr,
                 [](DirectoryFiles& d) {
                     named(d, "Анна")->Name = W("Алла");
                     d.subscriber(W("Дина"), 3, "");
                 }},
        Scenario{"a company deleted at one desk, a subscriber changed at the other",
                 [](Desk& d) {
                     TSettings settings;
                     ProfileFile ini(d.dir.file(SettingsFileName));
                     EXPECT_TRUE(RemoveProvider(d.dir.folder(), d.providers, d.abonents, 1, settings, ini,
                                                [](const Text&, const Text&) { return true; }));
                     return d.saved();
                 },
                 [](Desk& d) { return number(d, "Вера", 33); }, nullptr,
                 [](DirectoryFiles& d) {
                     d.providers.Delete(1);
                     named(d, "Анна")->Provider = "";
                     named(d, "Борис")->Provider = "";
                     named(d, "Вера")->Number = 33;
                 }},
        Scenario{"a subscriber deleted leaves the group another desk was changing",
                 [](Desk& d) {
                     EXPECT_TRUE(RemoveAbonent(d.dir.folder(), d.abonents, d.groups, 1));
                     return d.saved();
                 },
                 [](Desk& d) {
                     d.groups[0]->Members.Add(d.abonents[2]);
                     EXPECT_TRUE(d.groups.Save(d.dir.folder()));
                     return d.saved();
                 },
                 "Смена",
                 [](DirectoryFiles& d) {
                     d.groups[0]->Members.Delete(1);
                     d.abonents.Delete(1);
                 }},
        Scenario{"a group's members and a new group both kept",
                 [](Desk& d) {
                     d.groups[0]->Members.Add(d.abonents[2]);
                     EXPECT_TRUE(d.groups.Save(d.dir.folder()));
                     return d.saved();
                 },
                 [](Desk& d) {
                     auto night = std::make_shared<TGroup>();
                     night->Name = W("Ночь");
                     night->Members.Add(d.abonents[2]);
                     d.groups.Add(night);
                     EXPECT_TRUE(d.groups.Save(d.dir.folder()));
                     return d.saved();
                 },
                 nullptr,
                 [](DirectoryFiles& d) {
                     d.groups[0]->Members.Add(named(d, "Вера"));
                     d.group(W("Ночь"), {named(d, "Вера")});
                 }}),
    [](const ::testing::TestParamInfo<Scenario>& p) { return "case" + std::to_string(p.index); });

// A desk joining with files of its own keeps them aside and is told of the other desk's saves; away from the
// server it shows its copy and refuses edits; back, it catches up with what the other desk saved meanwhile.
// Another desk's save taken while the window reads the lists: the copy claims the new files only once
// they are on the disk; and a save told while the window's own change waits to go never takes that
// change's place: the save that follows brings both, and says that the window must read the lists again
// (not when nothing came with it).
TEST(RoomDirectory, TakenFilesClaimedOnceSealedAndAWaitingChangeKept)
{
    const std::string db = freshDatabase();
    Desk a, b;
    baseDirectory().write(a.dir.path());
    a.start(db, "desk-a");
    b.start(db, "desk-b");
    ASSERT_TRUE(number(a, "Анна", 11));
    const Result<bool> taken = b.directory->Refresh(true);
    ASSERT_TRUE(taken && taken.value());
    EXPECT_EQ(ReadDirectoryCopy(b.dir.folder()).intact.count(DirectoryList::Abonents), 0u);
    ASSERT_TRUE(b.directory->Seal());
    EXPECT_EQ(ReadDirectoryCopy(b.dir.folder()).intact.count(DirectoryList::Abonents), 1u);
    EXPECT_FALSE(fileExists(PreviousFileOf(b.dir.file(AbonentFileName))));

    b.load();
    b.abonents[b.abonents.IndexOfName(W("Вера"))]->Number = 33;
    ASSERT_TRUE(b.abonents.Save(b.dir.folder())); // the window's change, its save not sent yet
    ASSERT_TRUE(number(a, "Борис", 22));
    const Result<bool> told = b.directory->Refresh(true);
    ASSERT_TRUE(told);
    EXPECT_FALSE(told.value());
    ASSERT_TRUE(b.directory->Seal());
    const Result<bool> merged = b.directory->SaveFolder();
    ASSERT_TRUE(merged);
    EXPECT_TRUE(merged.value()) << "desk A's change came with the save: the window reads the lists again";
    b.load();
    ASSERT_TRUE(number(a, "Анна", 111));
    ASSERT_TRUE(b.directory->Refresh());
    b.load();
    b.abonents[b.abonents.IndexOfName(W("Вера"))]->Number = 333;
    ASSERT_TRUE(b.abonents.Save(b.dir.folder()));
    const Result<bool> alone = b.directory->SaveFolder();
    ASSERT_TRUE(alone);
    EXPECT_FALSE(alone.value()) << "nothing came from another desk: the lists stay as the window wrote them";
    ASSERT_TRUE(a.directory->Refresh());
    a.load();
    for (Desk* d : {&a, &b}) {
        EXPECT_EQ(d->abonents[d->abonents.IndexOfName(W("Анна"))]->Number, 111);
        EXPECT_EQ(d->abonents[d->abonents.IndexOfName(W("Борис"))]->Number, 22);
        EXPECT_EQ(d->abonents[d->abonents.IndexOfName(W("Вера"))]->Number, 333);
    }

    // A crash after a copy was written unsynced, before it was claimed, cut the file short: the file
    // "Directory.room" claims, kept beside it, is put back.
    const std::string claimed = fileOf(b.dir.path(), AbonentFileName);
    ASSERT_TRUE(number(a, "Анна", 1111));
    ASSERT_TRUE(b.directory->Refresh(true));
    ASSERT_EQ(fileOf(b.dir.path(), "Abonent.lst.previous"), claimed);
    b.directory.reset();
    std::filesystem::resize_file(b.dir.file(AbonentFileName), 1000);
    RestoreClaimedCopy(b.dir.folder());
    EXPECT_EQ(fileOf(b.dir.path(), AbonentFileName), claimed);
    EXPECT_EQ(ReadDirectoryCopy(b.dir.folder()).intact.count(DirectoryList::Abonents), 1u);
}

TEST(RoomDirectory, AwayDeskKeepsItsCopyRefusesEditsAndCatchesUp)
{
    const std::string db = freshDatabase();
    Desk a, b;
    baseDirectory().write(a.dir.path());
    DirectoryFiles own;
    own.providers.AddHomeProvider();
    own.subscriber(W("Свой"), 9, "");
    own.write(b.dir.path());
    const std::string ownFiles = b.files();
    a.start(db, "desk-a");
    b.start(db, "desk-b");
    EXPECT_EQ(b.directory->keptAside(),
              (std::vector<std::string>{"Abonent.lst.local", "Group.lst.local", "Company.lst.local"}));
    EXPECT_EQ(fileOf(b.dir.path(), "Abonent.lst.local") + fileOf(b.dir.path(), "Group.lst.local") +
                  fileOf(b.dir.path(), "Company.lst.local"),
              ownFiles);
    EXPECT_EQ(b.files(), a.files());
    const std::string copy = b.files();

    // The other desk is told of the save within a second.
    QObject context;
    int told = 0;
    ASSERT_TRUE(b.directory->WatchChanges(&context, [&told] { ++told; }));
    ASSERT_TRUE(number(a, "Анна", 11));
    for (int i = 0; i < 100 && told == 0; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GE(told, 1);
    onPostgres("ALTER DATABASE " + db + " ALLOW_CONNECTIONS false");
    b.start(db, "desk-b");
    EXPECT_FALSE(b.directory->online());
    const std::string away = W("Справочник: общая база недоступна, показана копия от ");
    EXPECT_EQ(b.directory->notice().russian().substr(0, away.size()), away);
    EXPECT_EQ(b.files(), copy);
    const Status refused = number(b, "Вера", 33);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().russian().substr(0, away.size()), away);
    EXPECT_EQ(b.files(), copy);

    onPostgres("ALTER DATABASE " + db + " ALLOW_CONNECTIONS true");
    ASSERT_TRUE(b.directory->Refresh().value());
    EXPECT_TRUE(b.directory->online());
    EXPECT_EQ(b.files(), a.files());
    b.load();
    ASSERT_TRUE(number(b, "Вера", 33));

    // A damaged list in the room is refused and kept aside; the desk goes on with its copy.
    const std::string kept = b.files();
    onPostgresIn(db, "INSERT INTO directory_versions (list, version, bytes, desk) VALUES ('abonents', 999, "
                     "'\\x01', 'x')");
    EXPECT_FALSE(b.directory->Refresh());
    EXPECT_EQ(b.files(), kept);
    EXPECT_EQ(fileOf(b.dir.path(), "Abonent.lst.room.bad"), std::string(1, '\x01'));
}

// A desk's copy changed behind it while it was closed is not taken for the room's version it names.
TEST(RoomDirectory, CopyChangedBehindTheDeskIsReplacedAtStart)
{
    const std::string db = freshDatabase();
    Desk a;
    baseDirectory().write(a.dir.path());
    a.start(db, "desk-a");
    const std::string room = a.files();
    a.directory.reset();
    std::string edited = fileOf(a.dir.path(), AbonentFileName);
    edited.replace(edited.find(W("Анна")), W("Анна").size(), W("Алла"));
    ASSERT_TRUE(rewriteWholeFile(a.dir.file(AbonentFileName), edited));
    a.start(db, "desk-a");
    EXPECT_EQ(a.files(), room);
}

// A save drops a list's versions beyond its latest 100 that are older than 30 days, in its transaction.
TEST(RoomDirectory, OldVersionsPrunedKeepingTheLatest100AndTheLast30Days)
{
    struct Case
    {
        int oldUpTo;  // versions 1..oldUpTo of 150 saved long ago, the rest today
        int kept;     // versions left after the 151st
        int earliest; // the first of them
    };
    for (const Case c : {Case{150, 100, 52}, Case{30, 121, 31}}) {
        const std::string db = freshDatabase();
        Desk a;
        baseDirectory().write(a.dir.path());
        a.start(db, "desk-a");
        onPostgresIn(db,
                     "INSERT INTO directory_versions (list, version, chunks, size, whole, desk) SELECT list, "
                     "g, chunks, size, whole, desk FROM directory_versions, generate_series(2, 150) g WHERE "
                     "list = 'abonents'");
        onPostgresIn(
            db, "INSERT INTO directory_version_chunks SELECT list, g, hash FROM directory_version_chunks, "
                "generate_series(2, 150) g WHERE list = 'abonents'");
        // A chunk only the last version pruned uses, and one only the first version kept uses.
        const std::string pruned = std::to_string(c.earliest - 1), kept = std::to_string(c.earliest);
        onPostgresIn(db, "INSERT INTO directory_chunks VALUES ('gone', ''), ('kept', '')");
        onPostgresIn(db, "INSERT INTO directory_version_chunks VALUES ('abonents', " + pruned +
                             ", 'gone'), ('abonents', " + kept + ", 'kept')");
        onPostgresIn(db, "UPDATE directory_versions SET saved_ms = 0 WHERE version <= " +
                             std::to_string(c.oldUpTo));
        ASSERT_TRUE(a.directory->Refresh());
        ASSERT_TRUE(number(a, "Анна", 11));
        const std::string where = " FROM directory_versions WHERE list = 'abonents'";
        EXPECT_EQ(scalarIn(db, "SELECT COUNT(*)" + where), std::to_string(c.kept)) << c.oldUpTo;
        EXPECT_EQ(scalarIn(db, "SELECT MIN(version)" + where), std::to_string(c.earliest)) << c.oldUpTo;
        EXPECT_EQ(scalarIn(db,
                           "SELECT string_agg(hash, ' ' ORDER BY hash) FROM directory_chunks WHERE hash IN "
                           "('gone', 'kept')"),
                  "kept")
            << c.oldUpTo;
    }
}

// A version is stored as chunks cut at record boundaries: a subscriber added in the middle of a long list
// stores one chunk or two, and the other desk rebuilds the version from its copy byte for byte.
TEST(RoomDirectory, AnAdditionStoresOnlyTheChunksItChanges)
{
    const std::string db = freshDatabase();
    DirectoryFiles d;
    d.providers.AddHomeProvider();
    for (int n = 0; n < 3000; ++n)
        d.subscriber(W("Абонент ") + std::to_string(10000 + 2 * n), n, "");
    Desk a, b;
    d.write(a.dir.path());
    a.start(db, "desk-a");
    b.start(db, "desk-b");
    const auto chunks = [&db] { return std::stoi(scalarIn(db, "SELECT COUNT(*) FROM directory_chunks")); };
    const int before = chunks();
    ASSERT_GT(before, 6); // the subscribers' list is cut into several chunks
    auto added = std::make_shared<TAbonent>(*a.abonents[0]);
    added->Name = W("Абонент ") + std::to_string(10000 + 3001);
    a.abonents.Add(added);
    a.abonents.SortByName();
    ASSERT_TRUE(a.abonents.Save(a.dir.folder()));
    ASSERT_TRUE(a.saved());
    ASSERT_EQ(a.abonents.IndexOfName(added->Name.str()), 1501); // in the middle of the list
    EXPECT_LE(chunks() - before, 2);
    EXPECT_GE(chunks() - before, 1);
    ASSERT_TRUE(b.directory->Refresh());
    EXPECT_EQ(b.files(), a.files());
}

// zolbin-send moves the three files in and out byte for byte, and reads the room's latest directory
// rather than the data folder's copy.
TEST(RoomDirectory, ImportAndExportByteForByte)
{
    const std::string uri = addressOf(freshDatabase());
    TempDataDir data, in, out;
    baseDirectory().write(in.path());
    DirectoryFiles own;
    own.providers.AddHomeProvider();
    own.subscriber(W("Свой"), 9, "");
    own.write(data.path());
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(ZOLBIN_SEND_EXECUTABLE),
                QStringList{QStringLiteral("--data-dir"), QString::fromStdString(data.path()),
                            QStringLiteral("--outbox"), QString::fromStdString(uri)} +
                    args);
        EXPECT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput().toStdString();
    };
    run({QStringLiteral("--directory-import"), QString::fromStdString(in.path())});
    run({QStringLiteral("--directory-export"), QString::fromStdString(out.path() + "/copy")});
    for (const char* name : {AbonentFileName, GroupFileName, CompanyFileName})
        EXPECT_EQ(fileOf(out.path() + "/copy", name), fileOf(in.path(), name)) << name;
    const std::string listed = run({QStringLiteral("--list"), QStringLiteral("subscribers")});
    EXPECT_EQ(listed.substr(0, listed.find('\t')), "Анна -- 1");
}

} // namespace

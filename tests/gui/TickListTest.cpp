// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tick lists keep no line of their own: each line is read from its record when shown,
// and a tick is one bit that changes once, is told once, and is counted.

#include "app/RecipientLists.h"
#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "tests/gui/DialogTestSupport.h"

#include <QSignalSpy>
#include <climits>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(TickList, ShowsTheSubscriberLinesOfTheRecordsEveryOneUnticked)
{
    test::dialogTestApp();
    struct Row
    {
        std::string name;
        std::int32_t number;
    };
    const Row rows[] = {
        {cp("Иванов"), 1234567}, {"", 0},          {"Exactly twenty-five chars", -42},
        {cp("Ёлкин"), INT_MIN},  {"Max", INT_MAX},
    };
    TAbonentList abonents;
    for (const Row& r : rows) {
        auto a = std::make_shared<TAbonent>();
        a->Name = r.name;
        a->Number = r.number;
        abonents.Add(a);
    }
    TickList list;
    FillAbonentLines(&list, abonents);
    const std::vector<std::string> lines = abonents.DisplayLines();
    ASSERT_EQ(list.count(), static_cast<int>(lines.size()));
    for (int i = 0; i < list.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.lineText(i), toQString(lines[static_cast<std::size_t>(i)]));
        EXPECT_FALSE(list.ticked(i));
        EXPECT_EQ(list.lines()->index(i).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
        EXPECT_TRUE(list.lines()->flags(list.lines()->index(i)) & Qt::ItemIsUserCheckable);
    }
    // The line is the record's: a renamed record shows its new name.
    abonents[0]->Name = "Renamed";
    EXPECT_EQ(list.lineText(0), QStringLiteral("Renamed -- 1234567"));
    EXPECT_EQ(list.lineText(list.count()), QString());
}

TEST(TickList, ATickChangesOnceIsToldOnceAndIsCounted)
{
    test::dialogTestApp();
    TGroupList groups;
    for (const char* name : {"First", "Second", "Third"}) {
        auto g = std::make_shared<TGroup>();
        g->Name = name;
        groups.Add(g);
    }
    TickList list;
    FillGroupLines(&list, groups);
    QSignalSpy changed(list.lines(), &QAbstractItemModel::dataChanged);
    list.setTicked(1, true);
    list.setTicked(1, true); // no change, nothing told
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(list.ticked(1));
    EXPECT_FALSE(list.ticked(0));
    EXPECT_EQ(list.lines()->tickedCount(), 1);
    EXPECT_EQ(list.lineText(1), QStringLiteral("Second"));

    // As the view's delegate ticks: through the model's check state.
    list.lines()->setData(list.lines()->index(2), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(list.lines()->tickedCount(), 2);
    list.lines()->untickAll(2);
    EXPECT_FALSE(list.ticked(1));
    EXPECT_TRUE(list.ticked(2));
    list.lines()->untickAll();
    EXPECT_EQ(list.lines()->tickedCount(), 0);

    // Filling again unticks every line.
    list.setTicked(0, true);
    FillGroupLines(&list, groups);
    EXPECT_FALSE(list.ticked(0));
    EXPECT_EQ(list.lines()->tickedCount(), 0);
}

} // namespace
} // namespace zolbin

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tick lists keep no text per line: what they show must still be exactly the lines of
// the subscribers as they were when the list was filled, and a tick must behave as on any list item.

#include "app/RecipientLists.h"
#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "tests/gui/DialogTestSupport.h"

#include <QSignalSpy>
#include <climits>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(TickList, ShowsTheSubscriberLinesAsFilledEveryOneUnticked)
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
    const QListWidgetItem plain;
    for (int i = 0; i < list.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.item(i)->text(), toQString(lines[static_cast<std::size_t>(i)]));
        EXPECT_EQ(list.item(i)->checkState(), Qt::Unchecked);
        EXPECT_EQ(list.item(i)->flags(), plain.flags() | Qt::ItemIsUserCheckable);
    }

    // A record changed afterwards shows only when the list is filled again.
    abonents[0]->Name = "Renamed";
    EXPECT_EQ(list.item(0)->text(), toQString(lines[0]));
    FillAbonentLines(&list, abonents);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("Renamed -- 1234567"));
}

TEST(TickList, ATickChangesOnceAndIsToldOnce)
{
    test::dialogTestApp();
    TGroupList groups;
    for (const char* name : {"First", "Second"}) {
        auto g = std::make_shared<TGroup>();
        g->Name = name;
        groups.Add(g);
    }
    TickList list;
    FillGroupLines(&list, groups);
    QSignalSpy changed(&list, &QListWidget::itemChanged);
    list.item(1)->setCheckState(Qt::Checked);
    list.item(1)->setCheckState(Qt::Checked); // no change, nothing told
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(list.item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(list.item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Second"));
    // Text given to a line by hand is kept as on any item.
    list.item(0)->setText(QStringLiteral("Other"));
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("Other"));
}

} // namespace
} // namespace zolbin

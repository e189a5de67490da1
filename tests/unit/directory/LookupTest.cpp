// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Lists.h"
#include "directory/NameFilter.h"
#include "directory/TextChecks.h"
#include "platform/Codepage.h"

#include <functional>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

AbonentPtr abonent(const std::string& utf8Name, std::int32_t number = 0, const std::string& provider = "")
{
    auto a = std::make_shared<TAbonent>();
    a->Name = cp(utf8Name);
    a->Number = number;
    a->Provider = provider;
    return a;
}

TAbonentList names(std::initializer_list<const char*> utf8Names)
{
    TAbonentList list;
    for (const char* n : utf8Names)
        list.Add(abonent(n));
    return list;
}

TEST(FindByPrefix, IgnoresLetterCaseButNotYo)
{
    const TAbonentList list = names({"Петров", "Иванов", "ёлкин", "ivy", "Ёжиков"});
    EXPECT_EQ(list.FindByPrefix(cp("ив")), 1);
    EXPECT_EQ(list.FindByPrefix(cp("ИВАНОВ")), 1);
    EXPECT_EQ(list.FindByPrefix(cp("иванова")), -1);
    EXPECT_EQ(list.FindByPrefix("IV"), 3);
    EXPECT_EQ(list.FindByPrefix(cp("ё")), 2);
    EXPECT_EQ(list.FindByPrefix(cp("Ё")), 4); // ё and Ё are not folded onto each other
    EXPECT_EQ(list.FindByPrefix(""), -1);
    EXPECT_EQ(list.IndexOfName(cp("иванов")), -1); // exact look-up keeps the case
    EXPECT_EQ(list.IndexOfName(cp("Иванов")), 1);
}

TEST(FindByPrefix, LooksAtTheWholeTwentyFiveCharacterName)
{
    TAbonentList list;
    list.Add(abonent("abcdefghijklmnopqrstuvwxy")); // 25 characters, no terminator
    EXPECT_EQ(list.FindByPrefix("ABCDEFGHIJKLMNOPQRSTUVWXY"), 0);
    EXPECT_EQ(list.FindByPrefix("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -1);
}

TEST(Lookups, SubscribersOfACompanyAndGroupsOfASubscriberShareTheRecords)
{
    TAbonentList list;
    list.Add(abonent("A", 1, "Alpha"));
    list.Add(abonent("B", 2, "alpha"));
    list.Add(abonent("C", 3, "Alpha"));
    const TAbonentList ofAlpha = list.AbonentsOfProvider("Alpha");
    ASSERT_EQ(ofAlpha.Count(), 2);
    EXPECT_EQ(ofAlpha[0], list[0]);
    EXPECT_EQ(ofAlpha[1], list[2]);
    EXPECT_EQ(list.AbonentsOfProvider("").Count(), 0);

    TGroupList groups;
    for (const char* g : {"G1", "G2", "G3"}) {
        groups.Add(std::make_shared<TGroup>());
        groups[groups.Count() - 1]->Name = g;
    }
    groups[0]->Members.Add(list[1]);
    groups[2]->Members.Add(list[0]);
    groups[2]->Members.Add(list[1]);
    const TGroupList ofB = groups.GroupsOfAbonent("B");
    ASSERT_EQ(ofB.Count(), 2);
    EXPECT_EQ(ofB[0], groups[0]);
    EXPECT_EQ(ofB[1], groups[2]);
    EXPECT_EQ(groups.GroupsOfAbonent("b").Count(), 0);
    EXPECT_EQ(groups.IndexOfName("G3"), 2);
}

TEST(Comparisons, NamesInCodePageOrderAndNumbersSigned)
{
    auto byName = [](const char* a, const char* b) { return CompareByName(*abonent(a), *abonent(b)); };
    EXPECT_EQ(byName("Zeta", "Альфа"), -1);
    EXPECT_EQ(byName("Борис", "алла"), -1);
    EXPECT_EQ(byName("Ёж", "Абрам"), -1);
    EXPECT_EQ(byName("яков", "Яков"), 1);
    EXPECT_EQ(byName("Иван", "Иванов"), -1);
    EXPECT_EQ(byName("Иванов", "Иван"), 1);
    EXPECT_EQ(byName("Иван", "Иван"), 0);
    EXPECT_EQ(CompareNames("", "a"), -1);

    EXPECT_EQ(CompareByNumber(*abonent("x", -5), *abonent("y", 3)), -1);
    EXPECT_EQ(CompareByNumber(*abonent("x", INT32_MAX), *abonent("y", INT32_MIN)), 1);
    EXPECT_EQ(CompareByNumber(*abonent("x", 7), *abonent("y", 7)), 0);

    TAbonentList list = names({"алла", "Борис", "Zeta", "Альфа", "ёж"});
    list.Sort([](const TAbonent& a, const TAbonent& b) { return CompareByName(a, b); });
    std::vector<std::string> sorted;
    for (const auto& a : list)
        sorted.push_back(utf8(a->Name.str()));
    EXPECT_EQ(sorted, (std::vector<std::string>{"Zeta", "ёж", "Альфа", "Борис", "алла"}));

    TGroup g1, g2;
    g1.Name = "b";
    g2.Name = "a";
    EXPECT_EQ(CompareByName(g1, g2), 1);
}

// The sort commands take each record's key once; the order, ties included, must be the one the
// comparisons give. Many equal keys among more records than a simple insertion sort handles.
TEST(Comparisons, SortCommandsGiveTheComparisonsOrderTiesIncluded)
{
    TAbonentList list;
    for (int i = 0; i < 300; ++i)
        list.Add(abonent(i % 3 == 0   ? "Иван"
                         : i % 3 == 1 ? "Ivan"
                                      : "Иван" + std::to_string(i % 7),
                         (i * 37) % 11 - 5));
    struct Order
    {
        const char* what;
        std::function<void(TAbonentList&)> sort;
        TRecordList<TAbonent>::Compare compare;
    };
    const Order orders[] = {
        {"name", [](TAbonentList& l) { l.SortByName(); },
         [](const TAbonent& a, const TAbonent& b) { return CompareByName(a, b); }},
        {"number", [](TAbonentList& l) { l.SortByNumber(); }, CompareByNumber},
    };
    for (const Order& o : orders) {
        SCOPED_TRACE(o.what);
        TAbonentList byKey = list;
        TAbonentList byComparison = list;
        o.sort(byKey);
        byComparison.Sort(o.compare);
        ASSERT_EQ(byKey.Count(), byComparison.Count());
        for (int i = 0; i < byKey.Count(); ++i)
            ASSERT_EQ(byKey[i], byComparison[i]) << "at " << i;
    }

    TGroupList groups;
    for (int i = 0; i < 40; ++i) {
        auto g = std::make_shared<TGroup>();
        g->Name = i % 2 == 0 ? "same" : "other";
        groups.Add(g);
    }
    TGroupList byComparison = groups;
    groups.SortByName();
    byComparison.Sort([](const TGroup& a, const TGroup& b) { return CompareByName(a, b); });
    for (int i = 0; i < groups.Count(); ++i)
        ASSERT_EQ(groups[i], byComparison[i]) << "at " << i;
}

TEST(TextChecks, UpperCaseFoldsLatinAndCyrillicButNotYo)
{
    EXPECT_EQ(UpperCaseText(cp("abcxyz азяё ABC 09 Ё")), cp("ABCXYZ АЗЯё ABC 09 Ё"));
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const bool folds = (b >= 'a' && b <= 'z') || b >= 0xE0;
        EXPECT_EQ(UpperCaseChar(c), folds ? b - 0x20 : b) << b;
    }
    const std::string original = "mixed";
    EXPECT_EQ(UpperCaseText(original), "MIXED");
    EXPECT_EQ(original, "mixed");
}

TEST(TextChecks, EMailAddress)
{
    EXPECT_TRUE(IsEMailAddress("ivan@example.org"));
    EXPECT_TRUE(IsEMailAddress("@"));
    EXPECT_TRUE(IsEMailAddress("@pager.example.org"));
    EXPECT_TRUE(IsEMailAddress(cp("ёЁ@host"))); // Ё and ё lie outside the refused range
    EXPECT_FALSE(IsEMailAddress(""));
    EXPECT_FALSE(IsEMailAddress("ivan.example.org"));
    EXPECT_FALSE(IsEMailAddress("ivan @example.org"));
    EXPECT_FALSE(IsEMailAddress("ivan@example.org "));
    EXPECT_FALSE(IsEMailAddress(cp("иван@example.org")));
    EXPECT_FALSE(IsEMailAddress(cp("ivan@пример.рф")));
    EXPECT_FALSE(IsEMailAddress(cp("ivan@exampleА")));
}

TEST(TextChecks, DigitalText)
{
    EXPECT_TRUE(IsDigitalText(""));
    EXPECT_TRUE(IsDigitalText("12 34-56 [u] U"));
    EXPECT_FALSE(IsDigitalText("12.34"));
    EXPECT_FALSE(IsDigitalText("12a"));
    EXPECT_FALSE(IsDigitalText("V"));
    EXPECT_FALSE(IsDigitalText(cp("12 у")));
    EXPECT_FALSE(IsDigitalText(std::string("1\0"
                                           "2",
                                           3)));
}

// The first look at a member's name: a name added is never passed over (its member would stay unlinked),
// whatever its length or where it differs from the others; most other names are.
TEST(NameFilter, HoldsEveryNameAddedAndPassesMostOthersOver)
{
    const std::vector<std::string> names = {"",
                                            "A",
                                            "1234567",
                                            "12345678",
                                            "123456789",
                                            "Smith 1234567890 middle",
                                            "Smith 1234567891 middle",
                                            std::string(25, '\xC0'),
                                            std::string("\0x", 2)};
    NameFilter filter;
    for (const std::string& name : names)
        filter.add(name);
    for (const std::string& name : names)
        EXPECT_TRUE(filter.mayHold(name)) << name;

    NameFilter members;
    for (int i = 0; i < 10000; ++i)
        members.add("Smith " + std::to_string(i * 7919));
    int looked = 0;
    for (int i = 0; i < 100000; ++i)
        looked += members.mayHold("Brown " + std::to_string(i)) ? 1 : 0;
    EXPECT_LT(looked, 10000) << "most subscribers not among the members are passed over";
}

} // namespace
} // namespace zolbin

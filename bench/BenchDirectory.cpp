// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/BenchDirectory.h"

#include "directory/Lists.h"
#include "platform/Codepage.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace zolbin::bench {

namespace fs = std::filesystem;

namespace {

// A name made from the number: a Cyrillic or Latin word and digits, unique per number, so that name
// order differs from file order and from number order.
std::string subscriberName(int i, std::mt19937& random)
{
    static const char* const words[] = {"Иванов",   "Petrov", "Сидорова", "Smith",  "Кузнецов", "Orlov",
                                        "Алексеев", "Brown",  "Яковлев",  "Miller", "Белова",   "Жуков"};
    const auto word = words[random() % (sizeof words / sizeof words[0])];
    return cp(word) + " " + std::to_string((i * 7919) % 1000003);
}

void check(const Status& status, const std::string& what)
{
    if (!status)
        throw std::runtime_error(what + ": " + status.failure().shown().toStdString());
}

} // namespace

DirectorySize StandardSize(int subscribers)
{
    DirectorySize size;
    size.subscribers = subscribers;
    size.groups = subscribers == 0 ? 0 : std::min(1000, subscribers);
    size.companies = subscribers == 0 ? 0 : 100;
    return size;
}

DirectorySize OneGroupSize(int members)
{
    DirectorySize size;
    size.subscribers = members;
    size.groups = 1;
    size.membersPerGroup = members;
    return size;
}

void WriteDirectory(const std::string& folder, const DirectorySize& size)
{
    fs::create_directories(folder);
    std::mt19937 random(20261208);
    TProviderList companies;
    for (int c = 0; c < size.companies; ++c) {
        auto p = std::make_shared<TProvider>(HomeProviderDefaults());
        p->Name = cp("Компания ") + std::to_string(c);
        p->Gate = static_cast<std::uint8_t>(c % 2);
        if (size.snppPort != 0) {
            p->Gate = Gate::SNPP;
            p->SNPPSrv = "127.0.0.1";
            p->SNPPPort = static_cast<std::uint16_t>(size.snppPort);
        }
        companies.Add(p);
    }
    TAbonentList abonents;
    for (int i = 0; i < size.subscribers; ++i) {
        auto a = std::make_shared<TAbonent>();
        a->Name = subscriberName(i, random);
        a->Number = static_cast<std::int32_t>(random() % 9000000 + 1000000);
        a->MsgLen = 80 + static_cast<std::int32_t>(i % 5) * 100;
        a->Numeric = i % 17 == 0 ? 1 : 0;
        if (size.companies > 0)
            a->Provider =
                companies[static_cast<int>(random() % static_cast<unsigned>(size.companies))]->Name.str();
        a->Info = cp("Отдел ") + std::to_string(i % 300);
        abonents.Add(a);
    }
    TGroupList groups;
    for (int g = 0; g < size.groups; ++g) {
        auto group = std::make_shared<TGroup>();
        group->Name = cp("Группа ") + std::to_string((g * 37) % 1009);
        if (size.membersPerGroup >= size.subscribers) {
            for (int m = 0; m < size.subscribers; ++m)
                group->Members.Add(abonents[m]);
        } else {
            for (int m = 0; m < size.membersPerGroup; ++m)
                group->Members.Add(
                    abonents[static_cast<int>(random() % static_cast<unsigned>(size.subscribers))]);
        }
        groups.Add(group);
    }
    check(abonents.SaveToFile((fs::path(folder) / AbonentFileName).string()), AbonentFileName);
    check(groups.SaveToFile((fs::path(folder) / GroupFileName).string()), GroupFileName);
    check(companies.SaveToFile((fs::path(folder) / CompanyFileName).string()), CompanyFileName);
    std::ofstream ini(fs::path(folder) / "Zolbin.ini", std::ios::binary);
    ini << "[Sender]\r\nEMail=op@example.com\r\nSMTPServer=mail.example.com\r\n[Setting]\r\nNoSplash=1\r\n";
    if (!ini)
        throw std::runtime_error("Zolbin.ini");
}

std::string MakeDirectory(const DirectorySize& size)
{
    std::string pattern = (fs::temp_directory_path() / "zolbin-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp");
    WriteDirectory(pattern, size);
    return pattern;
}

} // namespace zolbin::bench

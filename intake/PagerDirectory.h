// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who a pager ID taken in names: a subscriber by his pager number, else a subscriber or a group by name,
// matched as zolbin-send's --to and --group match (the exact name, else the only one differing in case).

#include "directory/Lists.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zolbin {

struct PagerTarget
{
    enum class Kind
    {
        Subscriber,
        Group,
        Number // a number not in the directory, through the company named
    };
    Kind kind = Kind::Subscriber;
    std::string name;        // cp1251, as the directory has it
    std::int32_t maxLen = 0; // the message limit (a group's: its shortest); 0 = none
    bool digital = false;    // the subscriber, or a member of the group, has a digital pager
    std::string company;     // Number: the paging company's name, cp1251
};

class PagerDirectory
{
public:
    virtual ~PagerDirectory() = default;
    // id: cp1251. Nothing when the directory knows no such pager.
    virtual std::optional<PagerTarget> find(const std::string& id) const = 0;
    // name: cp1251. The group of that name even where a subscriber has the same one.
    virtual std::optional<PagerTarget> findGroup(const std::string& name) const
    {
        std::optional<PagerTarget> found = find(name);
        return found && found->kind == PagerTarget::Kind::Group ? found : std::nullopt;
    }
};

// Over the directory lists of a session (which outlive it).
class ListPagerDirectory final : public PagerDirectory
{
public:
    ListPagerDirectory(const TAbonentList& subscribers, const TGroupList& groups);
    std::optional<PagerTarget> find(const std::string& id) const override;
    std::optional<PagerTarget> findGroup(const std::string& name) const override;

private:
    const TAbonentList& subscribers_;
    const TGroupList& groups_;
};

} // namespace zolbin

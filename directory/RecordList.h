// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An ordered list of records held by shared reference: the list operations the directory lists share.

#include "directory/TextChecks.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zolbin {

template <typename T> class TRecordList
{
public:
    using Ptr = std::shared_ptr<T>;
    // A sort comparison: negative, zero or positive, like the list's sort expects.
    using Compare = std::function<int(const T&, const T&)>;

    int Count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    const Ptr& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const Ptr& operator[](int index) const { return Items(index); }

    void Add(Ptr item) { items_.push_back(std::move(item)); }
    // Adds the records at the end, in their order.
    void Append(std::vector<Ptr>&& items)
    {
        if (items_.empty()) {
            items_ = std::move(items);
            return;
        }
        items_.reserve(items_.size() + items.size());
        std::move(items.begin(), items.end(), std::back_inserter(items_));
    }
    // Puts another record at the place of the one at index.
    void Replace(int index, Ptr item) { items_.at(static_cast<std::size_t>(index)) = std::move(item); }
    void Insert(int index, Ptr item) { items_.insert(items_.begin() + index, std::move(item)); }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }
    void Exchange(int a, int b)
    {
        std::swap(items_.at(static_cast<std::size_t>(a)), items_.at(static_cast<std::size_t>(b)));
    }
    void Move(int from, int to)
    {
        Ptr item = Items(from);
        Delete(from);
        Insert(to, std::move(item));
    }
    void Sort(const Compare& compare)
    {
        std::sort(items_.begin(), items_.end(),
                  [&](const Ptr& a, const Ptr& b) { return compare(*a, *b) < 0; });
    }
    // The order Sort gives with a comparison that answers as less(key(a), key(b)) does: std::sort sees
    // the same answers in the same sequence, so records of equal keys end up where Sort puts them too.
    // Each record is reached once for its key instead of at every comparison.
    template <typename KeyOf, typename Less> void SortByKey(KeyOf key, Less less)
    {
        using Key = decltype(key(std::declval<const T&>()));
        std::vector<std::pair<Key, Ptr>> keyed;
        keyed.reserve(items_.size());
        for (Ptr& item : items_)
            keyed.emplace_back(key(*item), std::move(item));
        std::sort(keyed.begin(), keyed.end(),
                  [&](const auto& a, const auto& b) { return less(a.first, b.first); });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            items_[i] = std::move(keyed[i].second);
    }
    int IndexOf(const Ptr& item) const
    {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }

    // First record whose Name equals the text byte for byte, or -1.
    int IndexOfName(const std::string& name) const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i]->Name.view() == name)
                return static_cast<int>(i);
        return -1;
    }

    // The record named so: the exact name first, else the only one whose name differs in letter case
    // (UpperCaseText); -1 when there is none or several.
    int IndexOfNameAnyCase(const std::string& name) const
    {
        if (const int exact = IndexOfName(name); exact >= 0)
            return exact;
        const std::string folded = UpperCaseText(name);
        int found = -1;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (UpperCaseText(items_[i]->Name.view()) != folded)
                continue;
            if (found >= 0)
                return -1;
            found = static_cast<int>(i);
        }
        return found;
    }

    // Every Name in list order (what FillList puts into a list control).
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        names.reserve(items_.size());
        for (const Ptr& item : items_)
            names.push_back(item->Name.str());
        return names;
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Ptr> items_;
};

} // namespace zolbin

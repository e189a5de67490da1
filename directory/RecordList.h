// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An ordered list of records held by shared reference: the list operations the directory lists share.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
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
    int IndexOf(const Ptr& item) const
    {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }

    // First record whose Name equals the text byte for byte, or -1.
    int IndexOfName(const std::string& name) const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i]->Name.str() == name)
                return static_cast<int>(i);
        return -1;
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

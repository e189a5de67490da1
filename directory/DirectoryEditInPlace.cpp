// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/DirectoryEditInPlace.h"

#include "directory/NameFilter.h"
#include "directory/Records.h"

#include <algorithm>
#include <cstring>

namespace zolbin {

namespace {

constexpr std::size_t NameSize = 25;

// A list's records as views of its bytes.
class RecordBytes
{
public:
    RecordBytes(std::string_view bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::size_t count() const { return bytes_.size() / size_; }
    std::string_view at(std::size_t i) const { return bytes_.substr(i * size_, size_); }
    // The first record of the name, and of these bytes when given; -1 when none.
    long find(std::string_view name, const std::string* bytes = nullptr) const
    {
        for (std::size_t i = 0; i < count(); ++i)
            if ((bytes == nullptr || at(i) == *bytes) && RecordName(at(i)) == name)
                return static_cast<long>(i);
        return -1;
    }

private:
    std::string_view bytes_;
    std::size_t size_;
};

// Where an added or moved record goes: at the end when beyond it.
std::size_t placeOf(int position, std::size_t count)
{
    return position < 0 ? count : std::min(count, static_cast<std::size_t>(position));
}

} // namespace

std::string_view RecordName(std::string_view record)
{
    const std::string_view field = record.substr(0, NameSize);
    return field.substr(0, std::min(field.size(), field.find('\0')));
}

void FindFirstOfNames(std::string_view abonents, NamedRecords& names)
{
    const RecordBytes records(abonents, TAbonent::RecordSize);
    NameFilter asked;
    for (const auto& named : names)
        asked.add(named.first);
    std::size_t left = names.size();
    for (std::size_t i = 0; i < records.count() && left > 0; ++i) {
        const std::string_view name = RecordName(records.at(i));
        if (!asked.mayHold(name))
            continue;
        if (const auto it = names.find(name); it != names.end() && it->second.empty()) {
            it->second = records.at(i);
            --left;
        }
    }
}

std::optional<InPlaceEdit> EditInPlace(const DirectoryEdit& e, std::string& list)
{
    const bool abonents = e.list == DirectoryList::Abonents;
    if ((!abonents && e.list != DirectoryList::Companies) ||
        (e.kind != EditKind::Add && e.kind != EditKind::Change && e.kind != EditKind::Delete &&
         e.kind != EditKind::Move))
        return std::nullopt;
    const std::size_t size = abonents ? TAbonent::RecordSize : TProvider::RecordSize;
    const RecordBytes records(list, size);
    if (list.size() % size != 0 ||
        ((e.kind == EditKind::Add || e.kind == EditKind::Change) && e.record.size() != size))
        return std::nullopt;
    for (std::size_t i = 0; i < records.count(); ++i)
        if (!(abonents ? TAbonent::canonical(records.at(i)) : TProvider::canonical(records.at(i))))
            return std::nullopt;
    InPlaceEdit result;
    const long found = records.find(e.before, &e.beforeBytes);
    const auto at = [size](long i) { return static_cast<std::size_t>(i) * size; };
    switch (e.kind) {
    case EditKind::Add:
        if (records.find(e.after, &e.record) >= 0)
            result.unchanged = true; // saved already
        else if (records.find(e.after) >= 0)
            result.refused = e.after;
        else
            list.insert(placeOf(e.position, records.count()) * size, e.record);
        break;
    case EditKind::Change:
        if (found < 0) {
            if (records.find(e.after, &e.record) >= 0)
                result.unchanged = true;
            else
                result.refused = e.before;
        } else
            std::memcpy(list.data() + at(found), e.record.data(), size);
        break;
    case EditKind::Delete:
        if (found < 0) {
            if (records.find(e.before) >= 0)
                result.refused = e.before;
            else
                result.unchanged = true;
        } else
            list.erase(at(found), size);
        break;
    default: { // Move
        if (found < 0) {
            result.refused = e.before;
            break;
        }
        const std::string moved = list.substr(at(found), size);
        const std::size_t count = records.count();
        list.erase(at(found), size);
        list.insert(placeOf(e.position, count - 1) * size, moved);
        break;
    }
    }
    return result;
}

} // namespace zolbin

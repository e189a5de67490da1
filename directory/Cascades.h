// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Deleting an entry of the directory with everything that hangs on it. Each deletion changes the lists in
// memory, lets the caller refresh what it shows (afterRemoval), and then rewrites the list files concerned,
// one after the other; the first save that fails ends the deletion with its failure (the lists in memory
// keep the change). The refresh runs before any save, so that what is shown always matches the lists in
// memory.

#include "directory/Lists.h"

#include <functional>
#include <string>

namespace zolbin {

class ProfileFile;
struct TSettings;

// Called once an entry has left its list, before any file is written.
using AfterRemoval = std::function<void()>;

// The operator's answer to a Yes/No question (the host words its caption and text): true for "&Да". The
// directory window asks it with a question box.
using Confirm = std::function<bool(const Text& caption, const Text& text)>;

// The list files rewritten are those of the data folder given.

// The subscriber at the position leaves every group that holds a member of its name (the first such
// member of each), then the subscriber list; "Abonent.lst" and "Group.lst" are rewritten. Gives the
// deleted subscriber's name (the caller removes its archive).
Result<std::string> RemoveAbonent(const DataFolder& folder, TAbonentList& abonents, TGroupList& groups,
                                  int index, const AfterRemoval& afterRemoval = {});

// The group at the position is removed; its member records stay with the subscriber list.
// "Group.lst" is rewritten.
Status RemoveGroup(const DataFolder& folder, TGroupList& groups, int index,
                   const AfterRemoval& afterRemoval = {});

enum class ProviderRemoval
{
    Refused, // the home provider, position 0: the operator is told HomeProviderRefusal()
    Kept,    // the operator answered "&Нет"
    Removed
};

// Why the home provider cannot be deleted: "Нельзя удалить родную пейдж. компанию".
Text HomeProviderRefusal();

// The company at the position is removed; the home provider is refused. When subscribers work through
// the company, the operator is asked first (confirm); on "&Да" their Provider is cleared. "Company.lst"
// is rewritten, then "Abonent.lst" when subscribers lost their company; then the default company becomes
// the home provider, in memory and in the settings file.
Result<ProviderRemoval> RemoveProvider(const DataFolder& folder, TProviderList& providers,
                                       TAbonentList& abonents, int index, TSettings& settings,
                                       ProfileFile& settingsFile, const Confirm& confirm,
                                       const AfterRemoval& afterRemoval = {});

} // namespace zolbin

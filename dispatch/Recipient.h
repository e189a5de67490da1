// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The current recipient: one subscriber, one group, or nothing; what choosing one sets in the send
// parameters, and whether the service functions (deferral, repeats) are available for it.

#include "directory/Lists.h"
#include "directory/SendParams.h"

#include <cstdint>
#include <string>

namespace zolbin {

// For a subscriber's company: available for the home provider, or for a company whose gate is SNPP;
// not for any other gate nor for a company that does not exist.
bool ServiceAvailableFor(const std::string& providerName, const TProviderList& providers);

// For a group: available at first; then every member whose company is not the home provider decides in
// turn, so the last such member decides.
bool ServiceAvailableForGroup(const TGroup& group, const TProviderList& providers);

// The shortest message limit among the members (0 for a group without members).
std::int32_t GroupMaxLen(const TGroup& group);

// The recipient fields for a ticked subscriber (deferral and repeats dropped).
void ChooseSubscriber(TSendParams& params, const TAbonent& abonent);

// No recipient: name emptied, number 0 (deferral and repeats dropped).
void ClearRecipient(TSendParams& params);

} // namespace zolbin

#pragma once
// The archive of a deleted subscriber goes with it.

#include <string>

namespace zolbin {

// Deletes "Log/" + name + ".log" when it exists. A name that would lead out of the "Log" folder deletes
// nothing; a missing file or one that cannot be deleted is no error and is not reported.
void DeleteArchiveOf(const std::string& name);

} // namespace zolbin

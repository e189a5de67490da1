#include "directory/ui/ArchiveRemoval.h"

#include "records/Archive.h"

#include <unistd.h>

namespace zolbin {

void DeleteArchiveOf(const std::string& name)
{
    if (!IsSafeArchiveName(name))
        return;
    // Only a file is deleted (never a folder of that name); a missing one is left at that.
    ::unlink(ArchivePath(name).c_str());
}

} // namespace zolbin

// The directory windows: subscribers, groups and paging companies.

#include "app/MainWindow.h"

namespace zolbin {

void TfmSend::connectDirectoryCommands() {}

} // namespace zolbin

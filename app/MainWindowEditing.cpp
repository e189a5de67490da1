// The editing commands, help, the journal and the archive windows.

#include "app/MainWindow.h"

namespace zolbin {

void TfmSend::connectEditingCommands() {}

} // namespace zolbin

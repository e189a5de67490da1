// Ordering the recipient lists and searching them.

#include "app/MainWindow.h"

namespace zolbin {

void TfmSend::connectOrderingCommands() {}

} // namespace zolbin

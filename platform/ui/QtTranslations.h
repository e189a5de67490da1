// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts in Russian: the standard buttons of message boxes ("OK", "Cancel"), the text fields'
// context menus, the file chooser. The program's interface is Russian whatever the desktop's language,
// so the Russian catalogue is loaded always (from the Debian package qt6-translations-l10n).

namespace zolbin {

// Loads Qt's Russian catalogue into the application; false when it is not installed (Qt's texts then
// stay English). Call once, after the application object exists.
bool installQtTranslations();

} // namespace zolbin

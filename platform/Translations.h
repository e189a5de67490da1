// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The interface's language. The program's texts are written in Russian (the source texts of tr()), so
// Russian needs no catalogue; English is loaded from the catalogues the libraries carry as resources
// (":/i18n/<catalogue>_en.qm"). The journal, the archive and every protocol line are records, not
// interface: they stay Russian in every language.

#include <QStringList>

class QObject;

namespace zolbin {

enum class InterfaceLanguage
{
    Russian,
    English
};

// The first of the user's languages the program speaks (LANGUAGE, then LC_ALL, LC_MESSAGES and LANG, as
// QLocale reads them); Russian when none of them is English or Russian.
InterfaceLanguage InterfaceLanguageFor(const QStringList& uiLanguages);
InterfaceLanguage SystemInterfaceLanguage();

// Installs the program's catalogues of the language into the application (nothing for Russian); the
// number of catalogues installed. They belong to `owner` (the application when none): deleting it takes
// them out again. Call after the application object exists.
int installTranslations(InterfaceLanguage language, QObject* owner = nullptr);

} // namespace zolbin

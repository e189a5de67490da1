// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace zolbin {

InterfaceLanguage InterfaceLanguageFor(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::English)
            return InterfaceLanguage::English;
        if (language == QLocale::Russian)
            return InterfaceLanguage::Russian;
    }
    return InterfaceLanguage::Russian;
}

InterfaceLanguage SystemInterfaceLanguage()
{
    return InterfaceLanguageFor(QLocale::system().uiLanguages());
}

int installTranslations(InterfaceLanguage language, QObject* owner)
{
    if (language != InterfaceLanguage::English)
        return 0;
    int installed = 0;
    const QDir catalogues(QStringLiteral(":/i18n"));
    for (const QString& name : catalogues.entryList({QStringLiteral("*_en.qm")}, QDir::Files, QDir::Name)) {
        auto* translator = new QTranslator(owner != nullptr ? owner : QCoreApplication::instance());
        if (translator->load(catalogues.filePath(name)) && QCoreApplication::installTranslator(translator))
            ++installed;
        else
            delete translator;
    }
    return installed;
}

} // namespace zolbin

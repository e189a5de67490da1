// SPDX-License-Identifier: GPL-3.0-or-later
// The logic's failures and messages are worded by the host: in Russian they read the very bytes they
// always did, and with the English catalogues installed they read English while their Russian stays.
#include "dispatch/SendCommand.h"
#include "dispatch/SmsPdu.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/IoError.h"
#include "platform/SerialLine.h"
#include "platform/Translations.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(WordedText, RussianBytesStayAndEnglishComesFromTheCatalogues)
{
    struct Row
    {
        Text text;
        const char* russian; // UTF-8 of the cp1251 bytes
        const char* english;
    };
    const Row rows[] = {
        {Failure::io(IoCode::FileNotFound).text, "Файл не найден", "File not found"},
        {Failure::io(1005).text, "Ошибка ввода/вывода 1005", "I/O error 1005"},
        // An argument holding "%1" is data, never filled in itself.
        {StrToInt("%1").failure().text, "'%1' неверное целочисленное значение",
         "'%1' is not a valid integer value"},
        {SerialLine::Open("/dev/zolbin-none", 9600, SerialLine::Frame::EightN1).failure().text,
         "Порт /dev/zolbin-none не открыт: нет такого устройства",
         "Port /dev/zolbin-none was not opened: no such device"},
        {sms::Encode("+1", u"", 0).failure().text, "Пустое сообщение SMS", "The SMS message is empty"},
        {*SendCommand::RefusalText({}, -1, "x"), "Необходимо выбрать абонента или группу абонентов",
         "Choose a subscriber or a group of subscribers"},
    };
    int argc = 1;
    char name[] = "worded_text_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    for (const Row& row : rows) {
        EXPECT_EQ(row.text.russian(), cp(row.russian));
        EXPECT_EQ(row.text.shown(), QString::fromUtf8(row.russian));
    }
    QObject owner;
    ASSERT_GE(installTranslations(InterfaceLanguage::English, &owner), 4); // platform … dispatch
    for (const Row& row : rows) {
        EXPECT_EQ(row.text.shown(), QString::fromUtf8(row.english));
        EXPECT_EQ(row.text.russian(), cp(row.russian));
    }
}

} // namespace
} // namespace zolbin

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ConsoleHost</name>
    <message>
        <source>Предупреждение</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>продолжаю для остальных (--stop-on-error останавливает рассылку)</source>
        <translation>going on with the others (--stop-on-error stops the group send)</translation>
    </message>
    <message>
        <source>рассылка остановлена (--stop-on-error)</source>
        <translation>group send stopped (--stop-on-error)</translation>
    </message>
</context>
<context>
    <name>DirectoryReader</name>
    <message>
        <source>%1 (файл повреждён)</source>
        <translation>%1 (the file is damaged)</translation>
    </message>
</context>
<context>
    <name>SimPin</name>
    <message>
        <source>файл PIN SIM-карты</source>
        <translation>SIM PIN file</translation>
    </message>
    <message>
        <source>файл PIN SIM-карты «%1»: в первой строке нужен PIN из 4-8 цифр</source>
        <translation>SIM PIN file “%1”: the first line must hold a PIN of 4 to 8 digits</translation>
    </message>
    <message>
        <source>PIN SIM-карты для «%1» не найден в хранилище паролей</source>
        <translation>no SIM PIN for “%1” was found in the password store</translation>
    </message>
    <message>
        <source>%1: пейдж. компания %2 работает через шлюз SMS, а её шаблон номера «%3» не даёт телефонного номера</source>
        <translation>%1: paging company %2 works through the SMS gate, but its number pattern “%3” gives no telephone number</translation>
    </message>
    <message>
        <source>%1: пейдж. компания %2 работает через шлюз SMS, а в настройках (Zolbin.ini, раздел GSM) не указано устройство модема «Device»</source>
        <translation>%1: paging company %2 works through the SMS gate, but the settings (Zolbin.ini, section GSM) name no modem device “Device”</translation>
    </message>
</context>
<context>
    <name>SmtpPassword</name>
    <message>
        <source>файл пароля SMTP</source>
        <translation>SMTP password file</translation>
    </message>
</context>
<context>
    <name>TerminalText</name>
    <message>
        <source>%1: текст не в кодировке UTF-8</source>
        <translation>%1: the text is not UTF-8</translation>
    </message>
    <message>
        <source>%1: недопустимый управляющий символ %2</source>
        <translation>%1: control character %2 is not allowed</translation>
    </message>
    <message>
        <source>%1: символ «%2» (%3) нельзя отправить: его нет в кодировке cp1251</source>
        <translation>%1: the character “%2” (%3) cannot be sent: code page cp1251 does not have it</translation>
    </message>
    <message>
        <source>текст сообщения</source>
        <translation>message text</translation>
    </message>
    <message>
        <source>текст сообщения, строка %1</source>
        <translation>message text, line %1</translation>
    </message>
</context>
<context>
    <name>ZolbinSend</name>
    <message>
        <source>Справка: zolbin-send --help</source>
        <translation>Help: zolbin-send --help</translation>
    </message>
</context>
</TS>

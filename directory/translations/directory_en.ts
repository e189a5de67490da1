<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Cascades</name>
    <message>
        <source>Нельзя удалить родную пейдж. компанию</source>
        <translation>The home paging company cannot be deleted</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Есть абоненты, работающие через данную пейдж. компанию. Удалять?</source>
        <translation>Some subscribers work through this paging company. Delete it?</translation>
    </message>
</context>
<context>
    <name>Lists</name>
    <message>
        <source>Файл %1 был изменён другой программой. Список загружен заново, повторите изменение.</source>
        <translation>The file %1 was changed by another program. The list has been loaded again; make the change once more.</translation>
    </message>
</context>
<context>
    <name>SmsNumber</name>
    <message>
        <source>Шаблон номера SMS должен начинаться с «+» и содержать только цифры и «#» (всего от 1 до 15 цифр вместе с номером пейджера), например +7912#######</source>
        <translation>The SMS number pattern must start with “+” and hold only digits and “#” (1 to 15 digits in all with the pager number), for example +7912#######</translation>
    </message>
</context>
<context>
    <name>WctpFields</name>
    <message>
        <source>Не заполнен параметр WCTP-сервера: «WCTP - URL»</source>
        <translation>A WCTP server parameter is empty: “WCTP URL”</translation>
    </message>
    <message>
        <source>Адрес WCTP должен начинаться с http:// или https:// и называть сервер</source>
        <translation>The WCTP address must start with http:// or https:// and name a server</translation>
    </message>
    <message>
        <source>Не заполнен параметр WCTP-сервера: «Отправитель»</source>
        <translation>A WCTP server parameter is empty: “Sender”</translation>
    </message>
    <message>
        <source>Не заполнен параметр WCTP-сервера: «Получатель (#)»</source>
        <translation>A WCTP server parameter is empty: “Recipient (#)”</translation>
    </message>
</context>
</TS>

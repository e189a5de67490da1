<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Intake</name>
    <message>
        <source>SNPP: неверный адрес «%1»: ожидается УЗЕЛ:ПОРТ</source>
        <translation>SNPP: invalid address “%1”: HOST:PORT expected</translation>
    </message>
    <message>
        <source>группа «%1»</source>
        <translation>group “%1”</translation>
    </message>
    <message>
        <source>номер %1 через «%2»</source>
        <translation>number %1 through “%2”</translation>
    </message>
    <message>
        <source>не указан получатель</source>
        <translation>no recipient given</translation>
    </message>
    <message>
        <source>Необходимо набрать текст сообщения</source>
        <translation>Please type the message text</translation>
    </message>
    <message>
        <source>%1 нет в справочнике</source>
        <translation>%1 is not in the directory</translation>
    </message>
    <message>
        <source>неверный номер пейджера «%1»</source>
        <translation>invalid pager number “%1”</translation>
    </message>
    <message>
        <source>пейдж. компания «%1» не найдена в справочнике</source>
        <translation>paging company “%1” not found in the directory</translation>
    </message>
    <message>
        <source>%1: больше %2 сообщений в минуту, сообщение не принято</source>
        <translation>%1: more than %2 messages a minute, message not accepted</translation>
    </message>
</context>
<context>
    <name>SnppUsers</name>
    <message>
        <source>файл пользователей SNPP</source>
        <translation>SNPP users file</translation>
    </message>
</context>
</TS>

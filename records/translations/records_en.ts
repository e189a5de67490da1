<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>DeskDirectory</name>
    <message>
        <source>Справочник: общая база недоступна, показана копия от %1</source>
        <translation>Directory: the shared database is unavailable; showing the copy of %1</translation>
    </message>
    <message>
        <source>Справочник: список %1 общей базы повреждён (сохранён как %2), показана копия</source>
        <translation>Directory: the list %1 of the shared database is damaged (kept as %2); showing the copy</translation>
    </message>
</context>
<context>
    <name>Outbox</name>
    <message>
        <source>Очередь сообщений недоступна: %1: %2</source>
        <translation>The message queue is unavailable: %1: %2</translation>
    </message>
    <message>
        <source>Очередь сообщений недоступна: %1: файл записан более новой версией программы (версия %2, эта программа знает версии до %3); в нём ничего не изменено</source>
        <translation>The message queue is unavailable: %1: the file was written by a newer version of the program (version %2, this program knows versions up to %3); nothing in it was changed</translation>
    </message>
    <message>
        <source>Файл очереди сообщений повреждён и сохранён как %1; очередь будет начата заново</source>
        <translation>The message queue file is damaged and was saved as %1; the queue will be started afresh</translation>
    </message>
</context>
<context>
    <name>OutboxPlace</name>
    <message>
        <source>Общая очередь доступна; сообщений, не дошедших до конца: %1</source>
        <translation>The shared outbox is reachable; pages not yet finished: %1</translation>
    </message>
</context>
<context>
    <name>OutboxServer</name>
    <message>
        <source>Адрес общей очереди не принят: %1</source>
        <translation>The shared outbox&apos;s address was refused: %1</translation>
    </message>
</context>
<context>
    <name>SharedOutbox</name>
    <message>
        <source>Общая очередь недоступна: %1: %2</source>
        <translation>The shared outbox is unreachable: %1: %2</translation>
    </message>
    <message>
        <source>Общая очередь недоступна: %1: база записана более новой версией программы (версия %2, эта программа знает версии до %3); в ней ничего не изменено</source>
        <translation>The shared outbox is unavailable: %1: the database was written by a newer version of the program (version %2, this program knows versions up to %3); nothing in it was changed</translation>
    </message>
</context>
<context>
    <name>SqlDirectory</name>
    <message>
        <source>Изменено: %1, %2</source>
        <translation>Changed: %1, %2</translation>
    </message>
    <message>
        <source>Справочник: общая база недоступна: %1: %2</source>
        <translation>Directory: the shared database is unavailable: %1: %2</translation>
    </message>
    <message>
        <source>Справочник: список %1 повреждён и не сохранён</source>
        <translation>Directory: the list %1 is damaged and was not saved</translation>
    </message>
    <message>
        <source>Запись «%1» изменена на месте %2 в %3; ваше изменение не сохранено</source>
        <translation>Record “%1” was changed at desk %2 at %3; your change was not saved</translation>
    </message>
</context>
</TS>

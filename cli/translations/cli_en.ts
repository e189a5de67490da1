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
    <name>ZolbinSend</name>
    <message>
        <source>Справка: zolbin-send --help</source>
        <translation>Help: zolbin-send --help</translation>
    </message>
    <message>
        <source>Сообщений для шлюзов, которые отправляет другая машина: %1; ожидание их исхода в общей очереди</source>
        <translation>Messages for gates another machine sends: %1; waiting for their outcome in the shared outbox</translation>
    </message>
    <message>
        <source>Сообщение не отправлено: %1</source>
        <translation>Message not sent: %1</translation>
    </message>
    <message>
        <source>Исход не дождались за %1 мин; сообщения остаются в общей очереди</source>
        <translation>No outcome within %1 min; the messages stay in the shared outbox</translation>
    </message>
    <message>
        <source>Общая очередь недоступна: сообщение в очереди этого места</source>
        <translation>Shared outbox unreachable: the message is in this desk&apos;s outbox</translation>
    </message>
</context>
</TS>

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
    <name>WorkOutbox</name>
    <message>
        <source>приём сообщений по SNPP, порт %1</source>
        <translation>taking pages in over SNPP, port %1</translation>
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

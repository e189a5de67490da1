<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Lists</name>
    <message>
        <source>Файл %1 был изменён другой программой. Список загружен заново, повторите изменение.</source>
        <translation>The file %1 was changed by another program. The list has been loaded again; make the change once more.</translation>
    </message>
</context>
</TS>

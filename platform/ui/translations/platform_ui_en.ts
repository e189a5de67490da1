<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AccessibleNames</name>
    <message>
        <source>Предыдущие вкладки</source>
        <translation>Previous tabs</translation>
    </message>
    <message>
        <source>Следующие вкладки</source>
        <translation>Next tabs</translation>
    </message>
    <message>
        <source>Остальные команды</source>
        <translation>More commands</translation>
    </message>
    <message>
        <source>Кнопка</source>
        <translation>Button</translation>
    </message>
</context>
<context>
    <name>CommandGuard</name>
    <message>
        <source>Непредвиденная ошибка</source>
        <translation>Unexpected error</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>&amp;Да</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Нет</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>zolbin::HelpViewer</name>
    <message>
        <source>Помощь - Zolbin Sender</source>
        <translation>Help - Zolbin Sender</translation>
    </message>
    <message>
        <source>&amp;Содержание</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>&amp;Назад</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>&amp;Вперёд</source>
        <translation>&amp;Forward</translation>
    </message>
    <message>
        <source>Не удалось открыть файл справки %1: %2</source>
        <translation>Could not open the help file %1: %2</translation>
    </message>
</context>
<context>
    <name>zolbin::TrayIcon</name>
    <message>
        <source>Развернуть</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
</context>
</TS>

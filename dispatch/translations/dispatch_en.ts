<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Dialogue</name>
    <message>
        <source>Абонент не доступен!</source>
        <translation>The subscriber cannot be reached!</translation>
    </message>
</context>
<context>
    <name>HoldTimes</name>
    <message>
        <source>&apos;%1&apos; неверные дата/время</source>
        <translation>&apos;%1&apos; is not a valid date/time</translation>
    </message>
</context>
<context>
    <name>SendCommand</name>
    <message>
        <source>Для цифровых пейджеров допустимы следующие символы: %1</source>
        <translation>Digital pagers take only these characters: %1</translation>
    </message>
    <message>
        <source>Сообщение будет отправлено повторно в %1</source>
        <translation>The message will be sent again at %1</translation>
    </message>
    <message>
        <source>Для абонента %1 сообщение отправить не удалось. Продолжать для остальных?</source>
        <translation>The message to subscriber %1 could not be sent. Go on with the others?</translation>
    </message>
    <message>
        <source>Необходимо выбрать абонента или группу абонентов</source>
        <translation>Choose a subscriber or a group of subscribers</translation>
    </message>
    <message>
        <source>Необходимо набрать текст сообщения</source>
        <translation>Type the text of the message</translation>
    </message>
    <message>
        <source>А указана ли для этого абонента пейджинговая компания?</source>
        <translation>Has this subscriber been given a paging company?</translation>
    </message>
</context>
<context>
    <name>ServiceSettings</name>
    <message>
        <source>Январь</source>
        <translation>January</translation>
    </message>
    <message>
        <source>Февраль</source>
        <translation>February</translation>
    </message>
    <message>
        <source>Март</source>
        <translation>March</translation>
    </message>
    <message>
        <source>Апрель</source>
        <translation>April</translation>
    </message>
    <message>
        <source>Май</source>
        <translation>May</translation>
    </message>
    <message>
        <source>Июнь</source>
        <translation>June</translation>
    </message>
    <message>
        <source>Июль</source>
        <translation>July</translation>
    </message>
    <message>
        <source>Август</source>
        <translation>August</translation>
    </message>
    <message>
        <source>Сентябрь</source>
        <translation>September</translation>
    </message>
    <message>
        <source>Октябрь</source>
        <translation>October</translation>
    </message>
    <message>
        <source>Ноябрь</source>
        <translation>November</translation>
    </message>
    <message>
        <source>Декабрь</source>
        <translation>December</translation>
    </message>
    <message>
        <source>Отложено на %1 %2</source>
        <translation>Deferred to %1 %2</translation>
    </message>
    <message>
        <source>Повторы - %1*%2</source>
        <translation>Repeats - %1*%2</translation>
    </message>
    <message>
        <source>%1, повторы - %2*%3</source>
        <translation>%1, repeats - %2*%3</translation>
    </message>
</context>
<context>
    <name>SmsPdu</name>
    <message>
        <source>Пустое сообщение SMS</source>
        <translation>The SMS message is empty</translation>
    </message>
    <message>
        <source>Знак U+%1 нельзя передать в SMS</source>
        <translation>The character U+%1 cannot be sent by SMS</translation>
    </message>
    <message>
        <source>Сообщение слишком длинное для SMS</source>
        <translation>The message is too long for SMS</translation>
    </message>
</context>
<context>
    <name>zolbin::SendController</name>
    <message>
        <source>Общая очередь недоступна: сообщение в очереди этого места</source>
        <translation>Shared outbox unreachable: the message is in this desk&apos;s outbox</translation>
    </message>
</context>
</TS>

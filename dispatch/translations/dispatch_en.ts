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
    <name>Recipients</name>
    <message>
        <source>%1: пейдж. компания «%2» работает через шлюз TAP, а телефон или адрес её терминала («TapPhone») не указан</source>
        <translation>%1: paging company “%2” uses the TAP gateway, but its terminal's telephone number or address (“TapPhone”) is not set</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» работает через шлюз TAP, а её телефон «%3» не набрать модемом</source>
        <translation>%1: paging company “%2” uses the TAP gateway, but its telephone number “%3” cannot be dialled by a modem</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» работает через шлюз TAP, а в настройках (Zolbin.ini, раздел TAP) не указано устройство модема «Device»</source>
        <translation>%1: paging company “%2” uses the TAP gateway, but the settings (Zolbin.ini, section TAP) name no modem device “Device”</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» работает через шлюз SMS, а её шаблон номера «%3» не даёт телефонного номера</source>
        <translation>%1: paging company “%2” uses the SMS gateway, but its number pattern “%3” gives no telephone number</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» работает через шлюз SMS, а в настройках (Zolbin.ini, раздел GSM) не указано устройство модема «Device»</source>
        <translation>%1: paging company “%2” uses the SMS gateway, but the settings (Zolbin.ini, section GSM) name no modem device “Device”</translation>
    </message>
    <message>
        <source>абонент «%1»</source>
        <translation>subscriber “%1”</translation>
    </message>
    <message>
        <source>абонент «%1» из группы «%2»</source>
        <translation>subscriber “%1” of group “%2”</translation>
    </message>
    <message>
        <source>абонент %1</source>
        <translation>subscriber %1</translation>
    </message>
    <message>
        <source>%1: не указана пейдж. компания</source>
        <translation>%1: no paging company given</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» не найдена в справочнике</source>
        <translation>%1: paging company “%2” not found in the directory</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» принимает сообщения по почте, а в настройках (Zolbin.ini, раздел Sender) не указан почтовый сервер «SMTPServer»</source>
        <translation>%1: paging company “%2” takes messages by mail, but the settings (Zolbin.ini, section Sender) name no mail server “SMTPServer”</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2» принимает сообщения по почте, а в настройках (Zolbin.ini, раздел Sender) не указан адрес отправителя «EMail»</source>
        <translation>%1: paging company “%2” takes messages by mail, but the settings (Zolbin.ini, section Sender) name no sender address “EMail”</translation>
    </message>
    <message>
        <source>%1: пейдж. компания «%2»: %3</source>
        <translation>%1: paging company “%2”: %3</translation>
    </message>
    <message>
        <source>%1: у пейдж. компании «%2» неизвестный шлюз</source>
        <translation>%1: paging company “%2” has an unknown gateway</translation>
    </message>
    <message>
        <source>%1 - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U и одна строка текста</source>
        <translation>%1 has a numeric pager: only the characters 0..9, space, [, ], -, u, U and one line of text are allowed</translation>
    </message>
    <message>
        <source>%1: не указан номер пейджера</source>
        <translation>%1: no pager number given</translation>
    </message>
    <message>
        <source>в группе «%1» нет ни одного абонента</source>
        <translation>group “%1” has no subscribers</translation>
    </message>
    <message>
        <source>текст сообщения слишком длинный: %1 символов при пределе %2 (перевод строки считается за два символа)</source>
        <translation>message text too long: %1 characters with a limit of %2 (a line break counts as two characters)</translation>
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

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>HttpIntake</name>
    <message>
        <source>Запрос больше 256 КиБ</source>
        <translation>The request is larger than 256 KiB</translation>
    </message>
    <message>
        <source>Запрос не пришёл целиком за 10 секунд</source>
        <translation>The request did not arrive whole within 10 seconds</translation>
    </message>
    <message>
        <source>Слишком много соединений, повторите позже</source>
        <translation>Too many connections, try again later</translation>
    </message>
    <message>
        <source>Приём по HTTP на %1 без файла ключей (TokenFile) не открыт: без ключей принимаются запросы только этой машины</source>
        <translation>HTTP intake on %1 not opened without a token file (TokenFile): without tokens only requests from this machine are taken</translation>
    </message>
    <message>
        <source>Для HTTPS нужны и сертификат (CertFile), и ключ (KeyFile)</source>
        <translation>HTTPS needs both the certificate (CertFile) and the key (KeyFile)</translation>
    </message>
    <message>
        <source>Без ключей принимаются запросы только этой машины</source>
        <translation>Without tokens only requests from this machine are taken</translation>
    </message>
    <message>
        <source>Нужен верный ключ: Authorization: Bearer …</source>
        <translation>A valid token is needed: Authorization: Bearer …</translation>
    </message>
    <message>
        <source>Метод не подходит для этого адреса</source>
        <translation>This method does not apply to this address</translation>
    </message>
    <message>
        <source>Нет такого адреса</source>
        <translation>No such address</translation>
    </message>
    <message>
        <source>Тело запроса - не объект JSON</source>
        <translation>The request body is not a JSON object</translation>
    </message>
    <message>
        <source>Укажите получателя: ?to=ИМЯ</source>
        <translation>Name the recipient: ?to=NAME</translation>
    </message>
    <message>
        <source>Получатель «%1» не найден в справочнике</source>
        <translation>Recipient “%1” is not in the directory</translation>
    </message>
    <message>
        <source>Тело запроса - не уведомление Alertmanager или Grafana</source>
        <translation>The request body is not an Alertmanager or Grafana notification</translation>
    </message>
    <message>
        <source>Больше %1 сообщений в минуту одному получателю</source>
        <translation>More than %1 messages a minute to one recipient</translation>
    </message>
    <message>
        <source>Сообщение не принято: %1</source>
        <translation>Message not accepted: %1</translation>
    </message>
    <message>
        <source>Очередь сообщений недоступна, повторите позже: %1</source>
        <translation>The outbox is not reachable, try again later: %1</translation>
    </message>
    <message>
        <source>Нет сообщения с номером «%1»</source>
        <translation>No message numbered “%1”</translation>
    </message>
    <message>
        <source>Очередь сообщений недоступна</source>
        <translation>The outbox is not reachable</translation>
    </message>
    <message>
        <source>Отклонено по HTTP от %1: %2 %3</source>
        <translation>Refused over HTTP from %1: %2 %3</translation>
    </message>
    <message>
        <source>Отклонено по HTTP от %1%2: %3: %4 %5</source>
        <translation>Refused over HTTP from %1%2: %3: %4 %5</translation>
    </message>
</context>
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
    <message>
        <source>HTTP: неверный адрес «%1»: ожидается УЗЕЛ:ПОРТ</source>
        <translation>HTTP: invalid address “%1”: HOST:PORT expected</translation>
    </message>
</context>
<context>
    <name>PageRequest</name>
    <message>
        <source>Укажите одного получателя: &quot;to&quot;, &quot;group&quot; или &quot;number&quot; с &quot;company&quot;</source>
        <translation>Name one recipient: &quot;to&quot;, &quot;group&quot; or &quot;number&quot; with &quot;company&quot;</translation>
    </message>
    <message>
        <source>Получатель не найден в справочнике</source>
        <translation>The recipient is not in the directory</translation>
    </message>
    <message>
        <source>Номер пейджера - положительное число, и нужна компания (&quot;company&quot;)</source>
        <translation>The pager number is a positive number, and a company (&quot;company&quot;) is needed</translation>
    </message>
    <message>
        <source>&quot;defer&quot; - время ISO 8601 или число минут (не больше года)</source>
        <translation>&quot;defer&quot; is an ISO 8601 time or a number of minutes (a year at most)</translation>
    </message>
    <message>
        <source>Нет текста сообщения (&quot;text&quot;)</source>
        <translation>No message text (&quot;text&quot;)</translation>
    </message>
    <message>
        <source>В тексте символ, которого нет в кодировке cp1251</source>
        <translation>The text holds a character that code page 1251 does not have</translation>
    </message>
    <message>
        <source>&quot;key&quot; - от 1 до 128 печатных знаков ASCII без пробелов</source>
        <translation>&quot;key&quot; is 1 to 128 printable ASCII characters without blanks</translation>
    </message>
</context>
<context>
    <name>PageText</name>
    <message>
        <source>группа «%1»</source>
        <translation>group “%1”</translation>
    </message>
    <message>
        <source>абонент «%1»</source>
        <translation>subscriber “%1”</translation>
    </message>
    <message>
        <source>Необходимо набрать текст сообщения</source>
        <translation>Please type the message text</translation>
    </message>
    <message>
        <source>текст сообщения слишком длинный</source>
        <translation>the message text is too long</translation>
    </message>
    <message>
        <source>управляющий символ в тексте</source>
        <translation>a control character in the text</translation>
    </message>
    <message>
        <source>текст сообщения слишком длинный: %1 символов при пределе %2 (перевод строки считается за два символа)</source>
        <translation>the message text is too long: %1 characters where the limit is %2 (a line break counts as two)</translation>
    </message>
    <message>
        <source>%1 - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U и одна строка текста</source>
        <translation>%1 has a digital pager: only the characters 0..9, blank, [, ], -, u, U and one line of text are allowed</translation>
    </message>
</context>
<context>
    <name>SnppUsers</name>
    <message>
        <source>файл пользователей SNPP</source>
        <translation>SNPP users file</translation>
    </message>
</context>
<context>
    <name>TokenFile</name>
    <message>
        <source>файл ключей HTTP</source>
        <translation>HTTP token file</translation>
    </message>
    <message>
        <source>файл ключей HTTP «%1» не содержит ни одного ключа</source>
        <translation>HTTP token file “%1” holds no token</translation>
    </message>
</context>
</TS>

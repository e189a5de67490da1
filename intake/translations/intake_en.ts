<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>HttpIntake</name>
    <message>
        <source>Запрос больше 256 КиБ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запрос не пришёл целиком за 10 секунд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Слишком много соединений, повторите позже</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отклонён запрос по HTTP от %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Приём по HTTP на %1 без файла ключей (TokenFile) не открыт: без ключей принимаются запросы только этой машины</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Для HTTPS нужны и сертификат (CertFile), и ключ (KeyFile)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отклонён запрос по HTTP от %1 (%2): %3 %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Без ключей принимаются запросы только этой машины</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нужен верный ключ: Authorization: Bearer …</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Метод не подходит для этого адреса</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет такого адреса</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Тело запроса - не объект JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Укажите получателя: ?to=ИМЯ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Получатель «%1» не найден в справочнике</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Тело запроса - не уведомление Alertmanager или Grafana</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Больше %1 сообщений в минуту одному получателю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Очередь сообщений недоступна, повторите позже: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сообщение не принято: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет сообщения с номером «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Очередь сообщений недоступна</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageRequest</name>
    <message>
        <source>Укажите одного получателя: &quot;to&quot;, &quot;group&quot; или &quot;number&quot; с &quot;company&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Получатель не найден в справочнике</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер пейджера - положительное число, и нужна компания (&quot;company&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;defer&quot; - время ISO 8601 или число минут (не больше года)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет текста сообщения (&quot;text&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В тексте символ, которого нет в кодировке cp1251</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;key&quot; - от 1 до 128 печатных знаков ASCII без пробелов</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageText</name>
    <message>
        <source>группа «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>абонент «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Необходимо набрать текст сообщения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>текст сообщения слишком длинный</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>управляющий символ в тексте</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>текст сообщения слишком длинный: %1 символов при пределе %2 (перевод строки считается за два символа)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U и одна строка текста</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrivateFile</name>
    <message>
        <source>не читается: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>- не обычный файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>доступен не только владельцу: нужны права 600 или 400 (chmod 600)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SnppUsers</name>
    <message>
        <source>файл пользователей SNPP «%1» %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TokenFile</name>
    <message>
        <source>файл ключей HTTP «%1» %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл ключей HTTP «%1» не содержит ни одного ключа</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

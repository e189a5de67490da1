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
    <name>DirectoryReader</name>
    <message>
        <source>%1 (файл повреждён)</source>
        <translation>%1 (the file is damaged)</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>--list: ожидается subscribers, groups, companies или outbox, а не «%1»</source>
        <translation>--list: expected subscribers, groups, companies or outbox, not “%1”</translation>
    </message>
    <message>
        <source>--list не сочетается с получателем, текстом и параметрами отправки</source>
        <translation>--list does not go with a recipient, a text or send options</translation>
    </message>
    <message>
        <source>--all указывается только вместе с --list outbox</source>
        <translation>--all is given only with --list outbox</translation>
    </message>
    <message>
        <source>--work-outbox не сочетается с получателем, текстом и параметрами сообщения</source>
        <translation>--work-outbox does not go with a recipient, a text or message options</translation>
    </message>
    <message>
        <source>--follow указывается только вместе с --work-outbox</source>
        <translation>--follow is given only with --work-outbox</translation>
    </message>
    <message>
        <source>не указан получатель: нужен один из ключей --to, --group или --number</source>
        <translation>no recipient: one of --to, --group or --number is needed</translation>
    </message>
    <message>
        <source>получатель должен быть один: --to, --group и --number не сочетаются</source>
        <translation>there must be one recipient: --to, --group and --number do not go together</translation>
    </message>
    <message>
        <source>--number требует --company: пейдж. компания незарегистрированного абонента</source>
        <translation>--number needs --company: the paging company of the unregistered subscriber</translation>
    </message>
    <message>
        <source>--company указывается только вместе с --number</source>
        <translation>--company is given only with --number</translation>
    </message>
    <message>
        <source>--repeat требует --interval чч:мм</source>
        <translation>--repeat needs --interval hh:mm</translation>
    </message>
    <message>
        <source>--interval указывается только вместе с --repeat</source>
        <translation>--interval is given only with --repeat</translation>
    </message>
    <message>
        <source>%1 не принимает значения</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>%1 указан дважды</source>
        <translation>%1 is given twice</translation>
    </message>
    <message>
        <source>%1: не указано значение</source>
        <translation>%1: no value given</translation>
    </message>
    <message>
        <source>неизвестный ключ %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--smtp-password-file: не указан файл</source>
        <translation>--smtp-password-file: no file given</translation>
    </message>
    <message>
        <source>--tap-device: не указано устройство</source>
        <translation>--tap-device: no device given</translation>
    </message>
    <message>
        <source>--gsm-device: не указано устройство</source>
        <translation>--gsm-device: no device given</translation>
    </message>
    <message>
        <source>--sim-pin-file: не указан файл</source>
        <translation>--sim-pin-file: no file given</translation>
    </message>
    <message>
        <source>--data-dir: не указана папка данных</source>
        <translation>--data-dir: no data folder given</translation>
    </message>
    <message>
        <source>--outbox: не указан адрес общей очереди</source>
        <translation>--outbox: no address of the shared outbox given</translation>
    </message>
    <message>
        <source>--gates: ожидается список из snpp, smtp, tap, sms, wctp через запятую или none, а не «%1»</source>
        <translation>--gates: expected a comma-separated list of snpp, smtp, tap, sms, wctp, or none, not “%1”</translation>
    </message>
    <message>
        <source>--list не сочетается с --work-outbox</source>
        <translation>--list does not go with --work-outbox</translation>
    </message>
    <message>
        <source>--listen-snpp указывается только вместе с --work-outbox --follow</source>
        <translation>--listen-snpp is given only with --work-outbox --follow</translation>
    </message>
    <message>
        <source>--listen-snpp: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:4444)</source>
        <translation>--listen-snpp: invalid address “%1”, expected HOST:PORT (for example 127.0.0.1:4444)</translation>
    </message>
    <message>
        <source>--listen-http указывается только вместе с --work-outbox --follow</source>
        <translation>--listen-http is given only with --work-outbox --follow</translation>
    </message>
    <message>
        <source>--listen-http: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:8080)</source>
        <translation>--listen-http: invalid address “%1”, expected HOST:PORT (for example 127.0.0.1:8080)</translation>
    </message>
</context>
<context>
    <name>SimPin</name>
    <message>
        <source>файл PIN SIM-карты</source>
        <translation>SIM PIN file</translation>
    </message>
    <message>
        <source>файл PIN SIM-карты «%1»: в первой строке нужен PIN из 4-8 цифр</source>
        <translation>SIM PIN file “%1”: the first line must hold a PIN of 4 to 8 digits</translation>
    </message>
    <message>
        <source>PIN SIM-карты для «%1» не найден в хранилище паролей</source>
        <translation>no SIM PIN for “%1” was found in the password store</translation>
    </message>
</context>
<context>
    <name>SmtpPassword</name>
    <message>
        <source>файл пароля SMTP</source>
        <translation>SMTP password file</translation>
    </message>
</context>
<context>
    <name>TerminalText</name>
    <message>
        <source>%1: текст не в кодировке UTF-8</source>
        <translation>%1: the text is not UTF-8</translation>
    </message>
    <message>
        <source>%1: недопустимый управляющий символ %2</source>
        <translation>%1: control character %2 is not allowed</translation>
    </message>
    <message>
        <source>%1: символ «%2» (%3) нельзя отправить: его нет в кодировке cp1251</source>
        <translation>%1: the character “%2” (%3) cannot be sent: code page cp1251 does not have it</translation>
    </message>
    <message>
        <source>текст сообщения</source>
        <translation>message text</translation>
    </message>
    <message>
        <source>текст сообщения, строка %1</source>
        <translation>message text, line %1</translation>
    </message>
</context>
<context>
    <name>WorkOutbox</name>
    <message>
        <source>приём сообщений по SNPP, порт %1</source>
        <translation>taking pages in over SNPP, port %1</translation>
    </message>
    <message>
        <source>приём сообщений по HTTP, порт %1</source>
        <translation>taking pages in over HTTP, port %1</translation>
    </message>
</context>
<context>
    <name>ZolbinSend</name>
    <message>
        <source>Справка: zolbin-send --help</source>
        <translation>Help: zolbin-send --help</translation>
    </message>
    <message>
        <source>папка данных «%1» не найдена</source>
        <translation>data folder “%1” not found</translation>
    </message>
    <message>
        <source>папка данных «%1»: %2</source>
        <translation>data folder “%1”: %2</translation>
    </message>
    <message>
        <source>пароль SMTP для «%1» не найден в хранилище паролей</source>
        <translation>no SMTP password for “%1” was found in the password store</translation>
    </message>
    <message>
        <source>Сообщений поставлено в очередь: %1</source>
        <translation>Messages queued: %1</translation>
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

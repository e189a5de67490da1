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
    <name>DirectoryTransfer</name>
    <message>
        <source>%1: не задана общая база: ключ «Database» раздела «Outbox» настроек или --outbox</source>
        <translation>%1: no shared database: the key “Database” of the section “Outbox” of the settings, or --outbox</translation>
    </message>
    <message>
        <source>%1: файл не читается</source>
        <translation>%1: the file cannot be read</translation>
    </message>
    <message>
        <source>%1: в папке «%2» нет файлов справочника</source>
        <translation>%1: the folder “%2” holds no directory files</translation>
    </message>
    <message>
        <source>Справочник перенесён в общую базу</source>
        <translation>The directory was moved into the shared database</translation>
    </message>
    <message>
        <source>%1: в общей базе нет справочника</source>
        <translation>%1: the shared database holds no directory</translation>
    </message>
    <message>
        <source>%1; справочник - из папки данных</source>
        <translation>%1; the directory is read from the data folder</translation>
    </message>
    <message>
        <source>%1: не удалось прочитать справочник общей базы</source>
        <translation>%1: the directory of the shared database could not be read</translation>
    </message>
    <message>
        <source>справочник общей базы повреждён</source>
        <translation>the directory of the shared database is damaged</translation>
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
        <source>--directory-import и --directory-export указываются одни, без других действий</source>
        <translation>--directory-import and --directory-export are given alone, without other actions</translation>
    </message>
    <message>
        <source>%1: не указана папка</source>
        <translation>%1: no folder given</translation>
    </message>
    <message>
        <source>Использование:
  zolbin-send [--data-dir ПАПКА] (--to ИМЯ | --group ИМЯ | --number N --company ИМЯ)
              [--defer &quot;дд.мм.гггг чч:мм&quot;] [--repeat 1|2 --interval чч:мм] [--no-signature]
              [--stop-on-error] [--quiet] [--smtp-password-file ФАЙЛ] [--tap-device УСТРОЙСТВО]
              [--gsm-device УСТРОЙСТВО] [--sim-pin-file ФАЙЛ] [--queue] [ТЕКСТ ...]
  zolbin-send [--data-dir ПАПКА] --list subscribers|groups|companies
  zolbin-send [--data-dir ПАПКА] [--outbox АДРЕС] --list outbox [--all]
  zolbin-send [--data-dir ПАПКА] [--outbox АДРЕС] --work-outbox [--follow] [--gates СПИСОК] [--quiet]
              [--listen-snpp УЗЕЛ:ПОРТ] [--listen-http УЗЕЛ:ПОРТ] [ключи линий и паролей]
  zolbin-send [--data-dir ПАПКА] [--outbox АДРЕС] --directory-import ПАПКА | --directory-export ПАПКА

Отправляет сообщение на пейджер так же, как кнопка «Отправить» Zolbin Sender: с тем же
справочником, настройками «Zolbin.ini», журналом «Zolbin.log» и архивом в папке «Log».

Получатель (ровно один):
  --to ИМЯ              абонент справочника
  --group ИМЯ           группа абонентов: сообщение получает каждый её участник
  --number N --company ИМЯ
                        незарегистрированный абонент: номер пейджера и пейдж. компания
                        (предел длины текста - 240 символов)
Имена сравниваются сначала точно, затем без учёта регистра букв.

Текст:
  ТЕКСТ ...             слова сообщения, соединённые пробелами (одна строка); без них текст
                        читается со стандартного ввода, каждая строка ввода - строка сообщения.
                        Текст в UTF-8 переводится в кодировку cp1251; символ, которого в ней
                        нет, отвергается. Аргумент «--» завершает ключи: всё после него - текст.
  Длина текста ограничена пределом абонента (для группы - наименьшим среди участников),
  перевод строки считается за два символа. Для цифрового пейджера допустимы только
  символы 0..9, пробел, [, ], -, u, U.

Сервисные функции (для родной пейдж. компании и компаний со шлюзом SNPP):
  --defer &quot;дд.мм.гггг чч:мм&quot;
                        отложить доставку до этой даты и времени
  --repeat 1|2 --interval чч:мм
                        повторить сообщение 1 или 2 раза с этим интервалом

Прочее:
  --data-dir ПАПКА      папка данных (должна существовать); без ключа - текущая папка
  --no-signature        не добавлять подпись (ключ «ShortName» настроек)
  --stop-on-error       при рассылке группе остановиться на первом абоненте, которому
                        сообщение отправить не удалось (без ключа - продолжать для остальных)
  --quiet               не выводить ход отправки (сообщения об ошибках выводятся всегда)
  --smtp-password-file ФАЙЛ
                        пароль пользователя «SMTPUser» почтового сервера (шлюз SMTP):
                        первая строка файла; файл должен быть доступен только владельцу
                        (chmod 600), иначе ничего не отправляется. Без ключа - файл из
                        переменной окружения ZOLBIN_SMTP_PASSWORD_FILE, без неё - пароль
                        из хранилища паролей рабочего стола (если есть сеансовая шина D-Bus)
  --tap-device УСТРОЙСТВО
                        последовательный порт модема для компаний со шлюзом TAP, чей
                        телефон - номер, а не «узел:порт» (без ключа - «Device» раздела TAP
                        настроек, по умолчанию /dev/ttyS0)
  --gsm-device УСТРОЙСТВО
                        последовательный порт GSM-модема для компаний со шлюзом SMS (без
                        ключа - «Device» раздела GSM настроек, по умолчанию /dev/ttyUSB0)
  --sim-pin-file ФАЙЛ   PIN SIM-карты GSM-модема: первая строка файла, от 4 до 8 цифр; файл
                        должен быть доступен только владельцу (chmod 600). Без ключа - PIN
                        из хранилища паролей рабочего стола (диалог «Линия GSM»). Неверный
                        PIN повторно не вводится
  --list subscribers    абоненты: «Имя -- Номер», пейдж. компания, предел длины
  --list groups         группы: имя и участники
  --list companies      пейдж. компании: имя, шлюз, сервер (для SMTP - адрес шлюза, для TAP -
                        телефон или «узел:порт» терминала), порт,
                        кодировка
  --list outbox         сообщения очереди, не дошедшие до конца, и дошедшие за последние
                        сутки (с --all - все хранимые): номер, состояние (queued, sending,
                        sent, waiting, failed, unknown, cancelled), получатель, компания,
                        попыток, следующая попытка (ISO 8601), место, отправитель, ответ
                        (поля строки разделены табуляцией, по одной записи в строке, UTF-8)
Очередь сообщений («Outbox.db» в папке данных):
  Каждое сообщение записывается в очередь до того, как уйдёт первый байт. Если в настройках
  задано «RetryMinutes» больше 0, сообщение, не отправленное по преходящей причине (нет
  соединения, истекло время ожидания, ответ 4xx, линия занята), ждёт в очереди и
  отправляется повторно через 1, 2, 4, 8, затем каждые 15 минут, пока очередная попытка
  по этому расписанию (0, 1, 3, 7, 15, 30, 45… минут от первой) укладывается в это время.
  --queue               только поставить сообщения в очередь и сразу завершиться (код 0);
                        отправит их окно программы или --work-outbox
  --work-outbox         отправлять сообщения очереди, пока каждое не дойдёт до конца
                        (отправлено, не отправлено, отменено или исход неизвестен),
                        дожидаясь повторных попыток. Очередь обрабатывает одна программа:
                        пока открыто окно программы или работает другой обработчик, ждёт
  --follow              с --work-outbox: работать, пока не остановят (сигнал TERM или INT),
                        принимая новые сообщения (для службы systemd «zolbin-outbox»);
                        недоступную очередь ждёт, сообщив об этом один раз. Папка
                        данных, которой нет, создаётся
  --outbox АДРЕС        общая очередь на сервере PostgreSQL вместо ключа «Database» раздела
                        «Outbox» настроек: адрес libpq (postgresql://пользователь@узел:порт/база
                        ?sslmode=verify-full или service=ИМЯ); пароль - в ~/.pgpass, PGPASSFILE
                        или файле служб, не в адресе. Несколько мест и обработчиков работают
                        с одной очередью, каждое сообщение отправляется один раз
  --gates СПИСОК        с --work-outbox: шлюзы, сообщения которых отправляет эта машина
                        (snpp, smtp, tap, sms, wctp через запятую, или none) вместо ключа
                        «Gates» раздела «Outbox» настроек; без ключа и без «Gates» - все
                        (none - машина, которая только принимает сообщения в общую очередь)

Приём сообщений от других систем (с --work-outbox --follow):
  Служба открывает приёмники, названные в разделе «Intake» настроек (ключи «SNPP» и
  «HTTP» - «узел:порт»; «SNPPUsersFile» - файл пользователей «имя:пароль», доступный только
  владельцу; «TokenFile» - файл ключей доступа HTTP, по ключу в строке, доступный только
  владельцу; «CertFile» и «KeyFile» - сертификат и ключ для HTTPS; «MaxPagesPerMinute» -
  сколько сообщений в минуту принимается для одного получателя, по умолчанию 10, 0 - без
  предела). Без раздела и без ключей ничего не принимается. Каждое принятое сообщение записывается в очередь до ответа клиенту,
  а в журнал - строкой «Принято по SNPP от АДРЕС (ИМЯ): абонент «ИМЯ»».
  --listen-snpp УЗЕЛ:ПОРТ
                        принимать сообщения по SNPP (RFC 1861) на этом адресе вместо ключа
                        «SNPP» раздела «Intake»; 127.0.0.1 - только с этой машины. Клиент с
                        другой машины должен войти командой LOGIn (файл «SNPPUsersFile»).
                        Идентификатор пейджера - номер пейджера абонента, имя абонента или
                        группы
  --listen-http УЗЕЛ:ПОРТ
                        принимать сообщения по HTTP (HTTPS с «CertFile» и «KeyFile») на этом
                        адресе вместо ключа «HTTP» раздела «Intake»; адрес не на этой машине
                        (не 127.0.0.1) - только с файлом ключей «TokenFile»

Справочник места в общей базе (ключ «Database» раздела «Outbox» или --outbox): с общей базой
zolbin-send читает её последний справочник, без связи с сервером - копию в папке данных.
  --directory-import ПАПКА
                        записать в общую базу файлы Abonent.lst, Group.lst и Company.lst из
                        папки (отсутствующий файл - пустой список) как последний справочник
  --directory-export ПАПКА
                        записать последний справочник общей базы в эти три файла папки,
                        байт в байт (папка создаётся)

  --help                эта справка
  --version             версия программы

Ход отправки (то, что окно программы показывает в строке состояния) и сообщения
выводятся в стандартный поток ошибок. Справочник и настройки только читаются;
пишутся журнал «Zolbin.log» и архив абонента «Log/ИМЯ.log».

Код завершения:
  0  каждое сообщение принято
  1  хотя бы одно сообщение не принято (ошибка соединения или отказ сервера, абонент
     группы пропущен)
  2  ошибка в командной строке или в настройках: неизвестный абонент, группа или
     компания, неверная дата, слишком длинный текст, нет адреса «EMail» для компании
     со шлюзом SMTP, нет телефона терминала для компании со шлюзом TAP и т. п.;
     ничего не отправлено
  3  ошибка файла: папка данных, справочник или настройки не читаются, файл
     справочника повреждён, журнал не создаётся, очередь сообщений не открывается или
     не записывается (ничего не отправлено); или каждое сообщение принято, но журнал
     или архив не удалось записать
С --queue: 0 - сообщения поставлены в очередь. С --work-outbox: 0 - каждое сообщение
отправлено, 1 - хотя бы одно не отправлено, отменено или с неизвестным исходом.
</source>
        <translation>Usage:
  zolbin-send [--data-dir FOLDER] (--to NAME | --group NAME | --number N --company NAME)
              [--defer &quot;dd.mm.yyyy hh:mm&quot;] [--repeat 1|2 --interval hh:mm] [--no-signature]
              [--stop-on-error] [--quiet] [--smtp-password-file FILE] [--tap-device DEVICE]
              [--gsm-device DEVICE] [--sim-pin-file FILE] [--queue] [TEXT ...]
  zolbin-send [--data-dir FOLDER] --list subscribers|groups|companies
  zolbin-send [--data-dir FOLDER] [--outbox ADDRESS] --list outbox [--all]
  zolbin-send [--data-dir FOLDER] [--outbox ADDRESS] --work-outbox [--follow] [--gates LIST]
              [--quiet] [--listen-snpp HOST:PORT] [--listen-http HOST:PORT]
              [line and password options]
  zolbin-send [--data-dir FOLDER] [--outbox ADDRESS] --directory-import FOLDER
  zolbin-send [--data-dir FOLDER] [--outbox ADDRESS] --directory-export FOLDER

Sends a message to a pager just as the Send button of Zolbin Sender does: with the same
directory, the settings &quot;Zolbin.ini&quot;, the journal &quot;Zolbin.log&quot; and the archive in the folder &quot;Log&quot;.

Recipient (exactly one):
  --to NAME             a subscriber of the directory
  --group NAME          a group of subscribers: each of its members gets the message
  --number N --company NAME
                        an unregistered subscriber: the pager number and the paging company
                        (the text is limited to 240 characters)
Names are compared exactly first, then ignoring letter case.

Text:
  TEXT ...              the words of the message, joined by spaces (one line); without them the
                        text is read from standard input, each line of input a line of the message.
                        UTF-8 text is converted to code page cp1251; a character it does not
                        have is refused. The argument &quot;--&quot; ends the options: all after it is text.
  The length of the text is limited by the subscriber&apos;s limit (for a group, the smallest among its
  members); a line break counts as two characters. A digital pager takes only the characters
  0..9, space, [, ], -, u, U.

Service functions (for the home paging company and companies with the SNPP gate):
  --defer &quot;dd.mm.yyyy hh:mm&quot;
                        defer the delivery until this date and time
  --repeat 1|2 --interval hh:mm
                        repeat the message 1 or 2 times at this interval

Other:
  --data-dir FOLDER     the data folder (it must exist); without the option, the current folder
  --no-signature        do not add the signature (the setting &quot;ShortName&quot;)
  --stop-on-error       when sending to a group, stop at the first subscriber the message
                        could not be sent to (without the option, go on with the others)
  --quiet               do not show the progress of the send (errors are always shown)
  --smtp-password-file FILE
                        the password of the mail server&apos;s user &quot;SMTPUser&quot; (SMTP gate):
                        the first line of the file; the file must be readable by its owner only
                        (chmod 600), otherwise nothing is sent. Without the option, the file
                        named by the environment variable ZOLBIN_SMTP_PASSWORD_FILE, without it
                        the password from the desktop&apos;s password store (if there is a D-Bus
                        session bus)
  --tap-device DEVICE
                        the serial port of the modem for companies with the TAP gate whose
                        phone is a number, not &quot;host:port&quot; (without the option, &quot;Device&quot; of
                        the section &quot;TAP&quot; of the settings, by default /dev/ttyS0)
  --gsm-device DEVICE
                        the serial port of the GSM modem for companies with the SMS gate
                        (without the option, &quot;Device&quot; of the section &quot;GSM&quot; of the settings,
                        by default /dev/ttyUSB0)
  --sim-pin-file FILE   the SIM PIN of the GSM modem: the first line of the file, 4 to 8 digits;
                        the file must be readable by its owner only (chmod 600). Without the
                        option, the PIN from the desktop&apos;s password store (the &quot;GSM Line&quot;
                        dialog). A wrong PIN is not entered again
  --list subscribers    subscribers: &quot;Name -- Number&quot;, paging company, length limit
  --list groups         groups: name and members
  --list companies      paging companies: name, gate, server (for SMTP the gate&apos;s address, for TAP
                        the terminal&apos;s phone or &quot;host:port&quot;), port,
                        encoding
  --list outbox         the outbox&apos;s messages that have not reached their end, and those that
                        did in the last day (with --all, all kept): number, state (queued, sending,
                        sent, waiting, failed, unknown, cancelled), recipient, company,
                        attempts, next attempt (ISO 8601), desk, sender, reply
                        (fields separated by tabs, one record a line, UTF-8)
Outbox (&quot;Outbox.db&quot; in the data folder):
  Each message is written into the outbox before its first byte leaves. If the setting
  &quot;RetryMinutes&quot; is above 0, a message not sent for a passing reason (no connection,
  timed out, reply 4xx, line busy) waits in the outbox and is sent again after 1, 2, 4, 8,
  then every 15 minutes, as long as the next attempt on this schedule (0, 1, 3, 7, 15, 30,
  45… minutes after the first) falls within that time.
  --queue               only put the messages into the outbox and end at once (status 0);
                        the program&apos;s window or --work-outbox sends them
  --work-outbox         send the outbox&apos;s messages until each has reached its end
                        (sent, not sent, cancelled or outcome unknown),
                        waiting for the retries. One program works the outbox:
                        while the program&apos;s window is open or another worker runs, it waits
  --follow              with --work-outbox: work until stopped (signal TERM or INT),
                        taking new messages (for the systemd service &quot;zolbin-outbox&quot;);
                        an outbox that cannot be reached is waited for, told once. A data
                        folder that does not exist is created
  --outbox ADDRESS      a shared outbox on a PostgreSQL server instead of &quot;Database&quot; of the
                        section &quot;Outbox&quot; of the settings: a libpq address
                        (postgresql://user@host:port/db?sslmode=verify-full or service=NAME);
                        the password in ~/.pgpass, PGPASSFILE or the service file, not in the
                        address. Several desks and workers work with one outbox, each message
                        is sent once
  --gates LIST          with --work-outbox: the gates whose messages this machine sends
                        (snpp, smtp, tap, sms, wctp separated by commas, or none) instead of
                        &quot;Gates&quot; of the &quot;Outbox&quot; section of the settings; without the option and
                        without &quot;Gates&quot;, all (none: a machine that only takes messages into the
                        shared outbox)

Taking messages from other systems (with --work-outbox --follow):
  The service opens the listeners named in the section &quot;Intake&quot; of the settings (&quot;SNPP&quot;
  and &quot;HTTP&quot;: &quot;host:port&quot;; &quot;SNPPUsersFile&quot;: a file of users &quot;name:password&quot; readable by
  its owner only; &quot;TokenFile&quot;: the HTTP access tokens, one a line, readable by its owner
  only; &quot;CertFile&quot; and &quot;KeyFile&quot;: the certificate and key for HTTPS; &quot;MaxPagesPerMinute&quot;:
  how many messages a minute are taken for one recipient, 10 by default, 0 for no limit).
  Without the section or the keys nothing is taken.
  Each message taken is written into the outbox before the client is answered, and into
  the journal as a line naming the client&apos;s address, its user and the subscriber (in Russian,
  like every journal line).
  --listen-snpp HOST:PORT
                        take messages over SNPP (RFC 1861) at this address instead of &quot;SNPP&quot;
                        of the section &quot;Intake&quot;; 127.0.0.1: from this machine only. A client on
                        another machine must log in with the command LOGIn (file &quot;SNPPUsersFile&quot;).
                        The pager ID is the subscriber&apos;s pager number, the name of a subscriber
                        or of a group
  --listen-http HOST:PORT
                        take messages over HTTP (HTTPS with &quot;CertFile&quot; and &quot;KeyFile&quot;) at this
                        address instead of &quot;HTTP&quot; of the section &quot;Intake&quot;; an address other than
                        this machine&apos;s (127.0.0.1) only with the token file &quot;TokenFile&quot;

The desk&apos;s directory in the shared database (&quot;Database&quot; of the section &quot;Outbox&quot; or --outbox):
with a shared database zolbin-send reads its latest directory; without a connection to the
server, the copy in the data folder.
  --directory-import FOLDER
                        write the files Abonent.lst, Group.lst and Company.lst of the folder
                        into the shared database (a missing file is an empty list) as the latest
                        directory
  --directory-export FOLDER
                        write the latest directory of the shared database into these three files
                        of the folder, byte for byte (the folder is created)

  --help                this help
  --version             the program&apos;s version

The progress of the send (what the program&apos;s window shows in its status bar) and the messages
go to standard error. The directory and the settings are only read; the journal &quot;Zolbin.log&quot;
and the subscriber&apos;s archive &quot;Log/NAME.log&quot; are written.

Exit status:
  0  every message was accepted
  1  at least one message was not accepted (a connection error or a refusal of the server, a
     member of the group skipped)
  2  an error on the command line or in the settings: an unknown subscriber, group or
     company, a wrong date, a text too long, no address &quot;EMail&quot; for a company with the
     SMTP gate, no terminal phone for a company with the TAP gate and the like;
     nothing was sent
  3  a file error: the data folder, the directory or the settings cannot be read, a
     directory file is damaged, the journal cannot be created, the outbox cannot be
     opened or written (nothing was sent); or every message was accepted, but the journal
     or an archive could not be written
With --queue: 0 means the messages were queued. With --work-outbox: 0 means every message was
sent, 1 that at least one was not sent, was cancelled or has an unknown outcome.
</translation>
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
    <name>SendRequest</name>
    <message>
        <source>--defer: неверные дата/время «%1», ожидается «дд.мм.гггг чч:мм»</source>
        <translation>--defer: invalid date/time “%1”, expected “dd.mm.yyyy hh:mm”</translation>
    </message>
    <message>
        <source>--defer: такой даты нет: «%1»</source>
        <translation>--defer: there is no such date: “%1”</translation>
    </message>
    <message>
        <source>%1 не найден в справочнике (список: zolbin-send --list subscribers)</source>
        <translation>%1 is not in the directory (list: zolbin-send --list subscribers)</translation>
    </message>
    <message>
        <source>группа «%1» не найдена в справочнике (список: zolbin-send --list groups)</source>
        <translation>group “%1” is not in the directory (list: zolbin-send --list groups)</translation>
    </message>
    <message>
        <source>--number: «%1» неверное целочисленное значение</source>
        <translation>--number: “%1” is not a valid whole number</translation>
    </message>
    <message>
        <source>--number: номер пейджера не может быть 0</source>
        <translation>--number: the pager number cannot be 0</translation>
    </message>
    <message>
        <source>пейдж. компания «%1» не найдена в справочнике (список: zolbin-send --list companies)</source>
        <translation>paging company “%1” is not in the directory (list: zolbin-send --list companies)</translation>
    </message>
    <message>
        <source>--repeat: число повторов - 1 или 2, а не «%1»</source>
        <translation>--repeat: the number of repeats is 1 or 2, not “%1”</translation>
    </message>
    <message>
        <source>--interval: неверный интервал «%1», ожидается «чч:мм» (часы 0..23, минуты 0..59)</source>
        <translation>--interval: invalid interval “%1”, expected “hh:mm” (hours 0..23, minutes 0..59)</translation>
    </message>
    <message>
        <source>Необходимо набрать текст сообщения</source>
        <translation>Type the text of the message</translation>
    </message>
    <message>
        <source>отложенная отправка и повторы здесь недоступны: их принимают только родная пейдж. компания и компании со шлюзом SNPP</source>
        <translation>deferral and repeats are not available here: only the home paging company and companies with the SNPP gate take them</translation>
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
        <source>очередь сообщений обрабатывает другая программа (окно Zolbin Sender или служба); ожидание</source>
        <translation>another program is working the outbox (the Zolbin Sender window or the service); waiting</translation>
    </message>
    <message>
        <source>сообщений с неизвестным исходом (отправка была прервана): %1</source>
        <translation>messages with an unknown outcome (their send was cut off): %1</translation>
    </message>
    <message>
        <source>%1; ожидание</source>
        <translation>%1; waiting</translation>
    </message>
    <message>
        <source>очередь сообщений снова доступна</source>
        <translation>the outbox can be reached again</translation>
    </message>
    <message>
        <source>очередь обработана: отправлено %1, не отправлено %2</source>
        <translation>outbox worked: %1 sent, %2 not sent</translation>
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

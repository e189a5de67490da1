<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>zolbin::TfmAbout</name>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Задумка и руководство - </source>
        <translation>Idea and direction - </translation>
    </message>
    <message>
        <source>Команда Zolbin</source>
        <translation>The Zolbin team</translation>
    </message>
    <message>
        <source>Интерфейс и программирование -</source>
        <translation>Interface and programming -</translation>
    </message>
    <message>
        <source>Разработчики Zolbin Sender</source>
        <translation>The Zolbin Sender developers</translation>
    </message>
    <message>
        <source>E-Mail - </source>
        <translation>E-Mail - </translation>
    </message>
    <message>
        <source>Программа проверена с тестовыми серверами SNPP и SMTP и с имитатором терминала TAP, работающими на том же компьютере (адрес 127.0.0.1). Разработка: команда Zolbin.</source>
        <translation>The program has been tried with test SNPP and SMTP servers and a TAP terminal simulator running on the same computer (address 127.0.0.1). Developed by the Zolbin team.</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmGsmLine</name>
    <message>
        <source>Хранилище паролей рабочего стола недоступно, поэтому ни PIN, ни линия GSM здесь не сохраняются. Запустите хранилище паролей (например, GNOME Keyring или KWallet) и откройте это окно снова.</source>
        <translation>The desktop password store is not available, so neither the PIN nor the GSM line can be saved here. Start the password store (GNOME Keyring or KWallet, for example) and open this window again.</translation>
    </message>
    <message>
        <source>Линия GSM</source>
        <translation>GSM Line</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>  GSM-модем  </source>
        <translation>  GSM modem  </translation>
    </message>
    <message>
        <source>&amp;Устройство</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>&amp;Скорость</source>
        <translation>&amp;Speed</translation>
    </message>
    <message>
        <source>&amp;PIN SIM-карты</source>
        <translation>SIM &amp;PIN</translation>
    </message>
    <message>
        <source>Пустое поле оставляет сохранённый PIN. Неверный PIN повторно не вводится: три неверных блокируют SIM-карту.</source>
        <translation>An empty field keeps the saved PIN. A wrong PIN is never entered twice: three wrong ones block the SIM card.</translation>
    </message>
    <message>
        <source>PIN SIM-карты для этого устройства сохранён в хранилище паролей. Пустое поле его не меняет.</source>
        <translation>The SIM PIN for this device is saved in the password store. An empty field leaves it unchanged.</translation>
    </message>
    <message>
        <source>PIN SIM-карты для этого устройства не сохранён. Введите его, если SIM-карта спрашивает PIN.</source>
        <translation>No SIM PIN is saved for this device. Enter it if the SIM card asks for a PIN.</translation>
    </message>
    <message>
        <source>PIN SIM-карты — от 4 до 8 цифр</source>
        <translation>The SIM PIN has 4 to 8 digits</translation>
    </message>
    <message>
        <source>PIN и линия GSM не сохранены</source>
        <translation>The PIN and the GSM line were not saved</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmLater</name>
    <message>
        <source>Сервисные функции</source>
        <translation>Service Functions</translation>
    </message>
    <message>
        <source> Отложить </source>
        <translation> Defer </translation>
    </message>
    <message>
        <source>Д&amp;ата</source>
        <translation>&amp;Date</translation>
    </message>
    <message>
        <source>Врем&amp;я</source>
        <translation>&amp;Time</translation>
    </message>
    <message>
        <source>ч.</source>
        <translation>h</translation>
    </message>
    <message>
        <source>мин.</source>
        <translation>min</translation>
    </message>
    <message>
        <source> Повторить </source>
        <translation> Repeat </translation>
    </message>
    <message>
        <source>Ко&amp;л-во</source>
        <translation>Co&amp;unt</translation>
    </message>
    <message>
        <source>Ин&amp;тервал</source>
        <translation>&amp;Interval</translation>
    </message>
    <message>
        <source>Отло&amp;жить</source>
        <translation>De&amp;fer</translation>
    </message>
    <message>
        <source>По&amp;вторить</source>
        <translation>&amp;Repeat</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Invalid argument to date encode</source>
        <translation>Invalid date</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmMailServer</name>
    <message>
        <source>Почтовый сервер</source>
        <translation>Mail Server</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>None</translation>
    </message>
    <message>
        <source>  SMTP - сервер  </source>
        <translation>  SMTP server  </translation>
    </message>
    <message>
        <source>&amp;Защита</source>
        <translation>&amp;Security</translation>
    </message>
    <message>
        <source>По&amp;льзователь</source>
        <translation>&amp;User</translation>
    </message>
    <message>
        <source>Па&amp;роль</source>
        <translation>&amp;Password</translation>
    </message>
    <message>
        <source>&amp;Файл сертификатов ЦС</source>
        <translation>CA certificates &amp;file</translation>
    </message>
    <message>
        <source>Хранилище паролей рабочего стола недоступно, поэтому пароль здесь не сохранить. Запустите хранилище паролей и откройте это окно снова.</source>
        <translation>The desktop password store is not available, so the password cannot be saved here. Start the password store and open this window again.</translation>
    </message>
    <message>
        <source>Пароль хранится в хранилище паролей рабочего стола; пустое поле - не менять</source>
        <translation>The password is kept in the desktop password store; leave the field empty to keep it</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Файл сертификатов ЦС</source>
        <translation>CA Certificates File</translation>
    </message>
    <message>
        <source>Сертификаты PEM (*.pem *.crt);;Все файлы (*)</source>
        <translation>PEM certificates (*.pem *.crt);;All files (*)</translation>
    </message>
    <message>
        <source>Пароль сохраняется только вместе с именем пользователя</source>
        <translation>A password is saved only together with a user name</translation>
    </message>
    <message>
        <source>Пароль не сохранён</source>
        <translation>The password was not saved</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmOptions</name>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>  Информация отправителя  </source>
        <translation>  Sender information  </translation>
    </message>
    <message>
        <source>Им&amp;я</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>Подпи&amp;сь</source>
        <translation>&amp;Signature</translation>
    </message>
    <message>
        <source>E-Mail &amp;адрес</source>
        <translation>E-Mail &amp;address</translation>
    </message>
    <message>
        <source>SMTP - c&amp;ервер</source>
        <translation>SMTP ser&amp;ver</translation>
    </message>
    <message>
        <source>  Установки  </source>
        <translation>  Options  </translation>
    </message>
    <message>
        <source>Пейд&amp;ж. комп. по умол.</source>
        <translation>&amp;Default paging company</translation>
    </message>
    <message>
        <source>О&amp;чищать окно ввода сразу после отправки  </source>
        <translation>C&amp;lear the input window right after sending  </translation>
    </message>
    <message>
        <source>Не показывать &amp;заставку при старте</source>
        <translation>Do not show the s&amp;plash screen at start</translation>
    </message>
    <message>
        <source>Сво&amp;рачивать в системную панель</source>
        <translation>Minimize to the system &amp;tray</translation>
    </message>
    <message>
        <source>Повторять неотправленные сообщения в &amp;течение</source>
        <translation>&amp;Retry unsent messages for</translation>
    </message>
    <message>
        <source>мин</source>
        <translation>min</translation>
    </message>
    <message>
        <source>  Язык при старте  </source>
        <translation>  Keyboard layout at start  </translation>
    </message>
    <message>
        <source>Р&amp;усский</source>
        <translation>R&amp;ussian</translation>
    </message>
    <message>
        <source>Ан&amp;глийский</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Почтовый сервер…</source>
        <translation>&amp;Mail server…</translation>
    </message>
    <message>
        <source>Ли&amp;ния TAP…</source>
        <translation>TAP l&amp;ine…</translation>
    </message>
    <message>
        <source>Лин&amp;ия GSM…</source>
        <translation>&amp;GSM line…</translation>
    </message>
    <message>
        <source>Программа не может отправлять сообщения, пока не указан ваш E-Mail адрес: впишите его в поле «E-Mail адрес» и нажмите «Ок». До тех пор это окно открывается само.</source>
        <translation>The program cannot send messages until your E-Mail address is given: enter it in the field “E-Mail address” and press “OK”. Until then this window opens by itself.</translation>
    </message>
    <message>
        <source>Неверный E-Mail адрес</source>
        <translation>Invalid E-Mail address</translation>
    </message>
    <message>
        <source>Время повторов - целое число минут от 0 до %1</source>
        <translation>The retry time is a whole number of minutes from 0 to %1</translation>
    </message>
    <message>
        <source>Общая очередь (PostgreSQL)</source>
        <translation>Shared outbox (PostgreSQL)</translation>
    </message>
    <message>
        <source>Проверить</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Очередь - файл Outbox.db в папке данных</source>
        <translation>Outbox: the file Outbox.db in the data folder</translation>
    </message>
    <message>
        <source>Подключение…</source>
        <translation>Connecting…</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmSmile</name>
    <message>
        <source>Zolbin Sender - бесплатная программа.

Регистрироваться не нужно и платить не за что: пользуйтесь ею сколько захочется, копируйте и дарите знакомым.

Программа передаётся &quot;как есть&quot;, без каких-либо гарантий.

Если она вам пригодилась - просто улыбнитесь :-)</source>
        <translation>Zolbin Sender is free software.

There is nothing to register and nothing to pay for: use it as much as you like, copy it and give it to your friends.

The program is provided &quot;as is&quot;, without any warranty.

If you found it useful, just smile :-)</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmTapLine</name>
    <message>
        <source>Не указано устройство линии %1</source>
        <translation>No device is given for the %1 line</translation>
    </message>
    <message>
        <source>Скорость линии должна быть целым положительным числом</source>
        <translation>The line speed must be a positive whole number</translation>
    </message>
    <message>
        <source>Линия TAP</source>
        <translation>TAP Line</translation>
    </message>
    <message>
        <source>7E1 — 7 бит, чётность, 1 стоп-бит</source>
        <translation>7E1 — 7 bits, even parity, 1 stop bit</translation>
    </message>
    <message>
        <source>8N1 — 8 бит, без чётности, 1 стоп-бит</source>
        <translation>8N1 — 8 bits, no parity, 1 stop bit</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>  Модем  </source>
        <translation>  Modem  </translation>
    </message>
    <message>
        <source>&amp;Устройство</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>&amp;Скорость</source>
        <translation>&amp;Speed</translation>
    </message>
    <message>
        <source>&amp;Формат символа</source>
        <translation>Character &amp;format</translation>
    </message>
    <message>
        <source>&amp;Инициализация</source>
        <translation>&amp;Initialization</translation>
    </message>
    <message>
        <source>&amp;Префикс набора</source>
        <translation>Dial &amp;prefix</translation>
    </message>
    <message>
        <source>Модем набирает номер компании, у которой телефон TAP — номер; компания с телефоном вида «хост:порт» связывается по сети.</source>
        <translation>The modem dials a company whose TAP phone is a number; a company whose phone reads “host:port” is reached over the network.</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmUnlisted</name>
    <message>
        <source>Незарегистрированный абонент</source>
        <translation>Unregistered Subscriber</translation>
    </message>
    <message>
        <source>N пейд&amp;ж.</source>
        <translation>&amp;Pager no.</translation>
    </message>
    <message>
        <source>П&amp;ейдж. компания</source>
        <translation>Pa&amp;ging company</translation>
    </message>
    <message>
        <source>Сервисные функции</source>
        <translation>Service Functions</translation>
    </message>
    <message>
        <source>О&amp;к</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>От&amp;мена</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
</TS>

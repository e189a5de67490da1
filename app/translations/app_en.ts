<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>CommandLine</name>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--data-dir: не указана папка данных</source>
        <translation>--data-dir: no data folder given</translation>
    </message>
    <message>
        <source>нет графического сеанса: не заданы ни DISPLAY, ни WAYLAND_DISPLAY. Zolbin Sender работает только в графическом сеансе; для отправки из сценариев есть zolbin-send.</source>
        <translation>no graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set. Zolbin Sender works only in a graphical session; scripts can send with zolbin-send.</translation>
    </message>
    <message>
        <source>Использование: zolbin [--data-dir ПАПКА | --desktop]

Zolbin Sender - отправка сообщений на пейджеры.

  --data-dir ПАПКА  папка данных (создаётся, если её нет)
  --desktop         запуск из меню рабочего стола: папка данных пользователя
                    $XDG_DATA_HOME/zolbin (обычно ~/.local/share/zolbin)
  --help            эта справка
  --version         версия программы

Без --data-dir и --desktop папка данных - текущая папка.
</source>
        <translation>Usage: zolbin [--data-dir FOLDER | --desktop]

Zolbin Sender - sends messages to pagers.

  --data-dir FOLDER  the data folder (created when missing)
  --desktop          started from the desktop menu: the user&apos;s data folder
                     $XDG_DATA_HOME/zolbin (usually ~/.local/share/zolbin)
  --help             this help
  --version          the program&apos;s version

Without --data-dir and --desktop the data folder is the current folder.
</translation>
    </message>
</context>
<context>
    <name>DataFolderClaim</name>
    <message>
        <source>Программа уже работает с папкой данных %1.
Второе окно для той же папки не открывается.</source>
        <translation>The program is already working with the data folder %1.
A second window for the same folder is not opened.</translation>
    </message>
</context>
<context>
    <name>DirectoryLoad</name>
    <message>
        <source>Файл %1 повреждён (%2). Прочитанные записи загружены, </source>
        <translation>File %1 is damaged (%2). The records read have been loaded, </translation>
    </message>
    <message>
        <source>копия файла сохранена как %1</source>
        <translation>a copy of the file was saved as %1</translation>
    </message>
    <message>
        <source>но сохранить копию файла не удалось (%1)</source>
        <translation>but a copy of the file could not be saved (%1)</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Папка данных недоступна: %1</source>
        <translation>The data folder cannot be used: %1</translation>
    </message>
    <message>
        <source>второй запуск не сможет показать это окно (локальный сокет не создан)</source>
        <translation>a second start will not be able to bring this window forward (the local socket was not created)</translation>
    </message>
</context>
<context>
    <name>zolbin::EditorCommands</name>
    <message>
        <source>Блок не найден.</source>
        <translation>No block selected.</translation>
    </message>
</context>
<context>
    <name>zolbin::ListOrdering</name>
    <message>
        <source>Элемент списка не выбран</source>
        <translation>No list entry is selected</translation>
    </message>
    <message>
        <source>Начало списка уже достигнуто</source>
        <translation>Already at the top of the list</translation>
    </message>
    <message>
        <source>Конец списка уже достигнут</source>
        <translation>Already at the bottom of the list</translation>
    </message>
    <message>
        <source>  Поиск:</source>
        <translation>  Search:</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>zolbin::MainStatusBar</name>
    <message>
        <source>Открыть очередь сообщений</source>
        <translation>Open the message queue</translation>
    </message>
    <message>
        <source>Открыть очередь сообщений на неотправленных сообщениях</source>
        <translation>Open the message queue at the messages not sent</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Не отправлять сообщение абонентам группы, которым оно ещё не ушло</source>
        <translation>Do not send the message to the group&apos;s subscribers it has not yet gone to</translation>
    </message>
    <message>
        <source>Состояние</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Набрано символов : наибольшая длина сообщения</source>
        <translation>Characters typed : longest message</translation>
    </message>
    <message>
        <source>Индикатор Caps Lock</source>
        <translation>Caps Lock indicator</translation>
    </message>
    <message>
        <source>Предупреждение</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>%1 из %2: %3</source>
        <translation>%1 of %2: %3</translation>
    </message>
    <message>
        <source>Группа «%1»: отправлено %2 из %3</source>
        <translation>Group “%1”: sent %2 of %3</translation>
    </message>
    <message>
        <source>, отменено %1</source>
        <translation>, cancelled %1</translation>
    </message>
    <message>
        <source>, не отправлено %1</source>
        <translation>, not sent %1</translation>
    </message>
    <message>
        <source>, ожидают повтора %1</source>
        <translation>, waiting for a retry %1</translation>
    </message>
    <message>
        <source>Сообщение для абонента %1 отправлено (попытка %2)</source>
        <translation>Message for subscriber %1 sent (attempt %2)</translation>
    </message>
    <message>
        <source>Сообщение для абонента %1 отправить не удалось: %2</source>
        <translation>Message for subscriber %1 could not be sent: %2</translation>
    </message>
    <message>
        <source>Сообщение для абонента %1: исход неизвестен (%2)</source>
        <translation>Message for subscriber %1: outcome unknown (%2)</translation>
    </message>
    <message>
        <source>Сообщений с неизвестным исходом: %1 (см. «Очередь сообщений»)</source>
        <translation>Messages of unknown outcome: %1 (see “Message queue”)</translation>
    </message>
    <message>
        <source>В очереди: %1</source>
        <translation>Queued: %1</translation>
    </message>
    <message>
        <source>Не отправлено: %1</source>
        <translation>Not sent: %1</translation>
    </message>
</context>
<context>
    <name>zolbin::RecipientChoice</name>
    <message>
        <source>Для абонента - %1</source>
        <translation>For subscriber - %1</translation>
    </message>
    <message>
        <source>Для группы абонентов - %1</source>
        <translation>For subscriber group - %1</translation>
    </message>
</context>
<context>
    <name>zolbin::RoomDirectoryLink</name>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Перенести справочник этого места в общую базу?</source>
        <translation>Move this desk's directory into the shared database?</translation>
    </message>
    <message>
        <source>Справочник этого места отличался от общего: его файлы сохранены как %1, показан общий справочник.</source>
        <translation>This desk's directory differed from the shared one: its files were kept as %1; the shared directory is shown.</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmSend</name>
    <message>
        <source>Справочник изменён вне программы и загружен заново. Сообщение не отправлено: выберите получателя ещё раз.</source>
        <translation>The directory was changed outside the program and has been loaded again. The message was not sent: choose the recipient again.</translation>
    </message>
    <message>
        <source>Справочник изменён вне программы и загружен заново.</source>
        <translation>The directory was changed outside the program and has been loaded again.</translation>
    </message>
    <message>
        <source>Список пейджинговых компаний изменён вне программы и загружен заново.</source>
        <translation>The list of paging companies was changed outside the program and has been loaded again.</translation>
    </message>
    <message>
        <source>&amp;Сообщение</source>
        <translation>&amp;Message</translation>
    </message>
    <message>
        <source>Отправить</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Отправить сообщение</source>
        <translation>Send the message</translation>
    </message>
    <message>
        <source>Незарегистрированный абонент</source>
        <translation>Unregistered subscriber</translation>
    </message>
    <message>
        <source>Сервис</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Сервисные функции</source>
        <translation>Service functions</translation>
    </message>
    <message>
        <source>Временное блокирование подписи</source>
        <translation>Send without the signature</translation>
    </message>
    <message>
        <source>Завершение работы</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Завершить работу</source>
        <translation>Exit the program</translation>
    </message>
    <message>
        <source>&amp;Редактирование</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Очистить окно ввода</source>
        <translation>Clear the input window</translation>
    </message>
    <message>
        <source>Очистить окно ввода сообщения</source>
        <translation>Clear the message input window</translation>
    </message>
    <message>
        <source>Копировать	Ctrl+C</source>
        <translation>Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>Копировать в буфер</source>
        <translation>Copy to the clipboard</translation>
    </message>
    <message>
        <source>Вырезать	Ctrl+X</source>
        <translation>Cut	Ctrl+X</translation>
    </message>
    <message>
        <source>Вырезать в буфер</source>
        <translation>Cut to the clipboard</translation>
    </message>
    <message>
        <source>Вставить	Ctrl+V</source>
        <translation>Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>Вставить из буфера</source>
        <translation>Paste from the clipboard</translation>
    </message>
    <message>
        <source>Отменить последнее редакт-ие	Ctrl+Z</source>
        <translation>Undo the last edit	Ctrl+Z</translation>
    </message>
    <message>
        <source>Отменить последнее редактирование</source>
        <translation>Undo the last edit</translation>
    </message>
    <message>
        <source>Увел. размер шрифта</source>
        <translation>Larger font</translation>
    </message>
    <message>
        <source>Уменьш. размер шрифта</source>
        <translation>Smaller font</translation>
    </message>
    <message>
        <source>Установить по умолчанию</source>
        <translation>Make the default</translation>
    </message>
    <message>
        <source>&amp;Архив</source>
        <translation>&amp;Archive</translation>
    </message>
    <message>
        <source>Архив</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Удалить архив</source>
        <translation>Delete archive</translation>
    </message>
    <message>
        <source>Очередь сообщений</source>
        <translation>Message queue</translation>
    </message>
    <message>
        <source>Журнал работы</source>
        <translation>Work journal</translation>
    </message>
    <message>
        <source>Удалить журнал работы</source>
        <translation>Delete the work journal</translation>
    </message>
    <message>
        <source>&amp;Конфигурация</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>Абоненты...</source>
        <translation>Subscribers...</translation>
    </message>
    <message>
        <source>Абоненты</source>
        <translation>Subscribers</translation>
    </message>
    <message>
        <source>Группы...</source>
        <translation>Groups...</translation>
    </message>
    <message>
        <source>Группы</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>Пейдж. компания...</source>
        <translation>Paging companies...</translation>
    </message>
    <message>
        <source>Провайдеры</source>
        <translation>Providers</translation>
    </message>
    <message>
        <source>Сортировка по имени</source>
        <translation>Sort by name</translation>
    </message>
    <message>
        <source>Сортировка списка по имени абонента</source>
        <translation>Sort the list by subscriber name</translation>
    </message>
    <message>
        <source>На позицию вверх</source>
        <translation>One place up</translation>
    </message>
    <message>
        <source>На одну позицию вверх</source>
        <translation>Move one place up</translation>
    </message>
    <message>
        <source>На позицию вниз</source>
        <translation>One place down</translation>
    </message>
    <message>
        <source>На одну позицию вниз</source>
        <translation>Move one place down</translation>
    </message>
    <message>
        <source>Сортировка по номеру </source>
        <translation>Sort by number </translation>
    </message>
    <message>
        <source>Сортировка списка по номеру пейджера</source>
        <translation>Sort the list by pager number</translation>
    </message>
    <message>
        <source>Настройки...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>&amp;Помощь</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Зарегистрируйся!</source>
        <translation>Register!</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Текст сообщения</source>
        <translation>Message text</translation>
    </message>
    <message>
        <source>Получатель</source>
        <translation>Recipient</translation>
    </message>
    <message>
        <source>Группы абонентов</source>
        <translation>Subscriber groups</translation>
    </message>
    <message>
        <source> &amp;1: Абоненты </source>
        <translation> &amp;1: Subscribers </translation>
    </message>
    <message>
        <source>  &amp;2: Группы  </source>
        <translation>  &amp;2: Groups  </translation>
    </message>
    <message>
        <source>Примечание к абоненту</source>
        <translation>Subscriber&apos;s remark</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>В очереди %1 сообщений. Служба отправки не запущена: после закрытия они не будут отправлены. Закрыть?</source>
        <translation>%1 messages are queued. The sending service is not running: after closing they will not be sent. Close?</translation>
    </message>
    <message>
        <source>Не удалось создать журнал работы %1: %2</source>
        <translation>Could not create the work journal %1: %2</translation>
    </message>
</context>
<context>
    <name>zolbin::WindowCommands</name>
    <message>
        <source>Необходимо выбрать абонента</source>
        <translation>A subscriber must be chosen</translation>
    </message>
    <message>
        <source>Невозможно посмотреть архив для группы абонентов</source>
        <translation>A subscriber group has no archive to view</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Вы, действительно, хотите удалить журнал работы?</source>
        <translation>Do you really want to delete the work journal?</translation>
    </message>
    <message>
        <source>Не удалось удалить журнал работы: %1</source>
        <translation>Could not delete the work journal: %1</translation>
    </message>
</context>
</TS>

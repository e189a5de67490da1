<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>SmsPanel</name>
    <message>
        <source>Шаблон &amp;номера</source>
        <translation>Number patter&amp;n</translation>
    </message>
    <message>
        <source>«#» заменяются номером пейджера с нулями слева; без «#» номер дописывается в конец. Например: +7912#######</source>
        <translation>Each “#” is replaced by the pager number padded with zeros on the left; without “#” the number is added at the end. For example: +7912#######</translation>
    </message>
    <message>
        <source>Лин&amp;ия GSM…</source>
        <translation>GSM &amp;line…</translation>
    </message>
    <message>
        <source>Устройство и скорость GSM-модема, PIN SIM-карты</source>
        <translation>The GSM modem&apos;s device and speed, the SIM PIN</translation>
    </message>
    <message>
        <source>Не заполнен один из параметров SMS (GSM-модем)</source>
        <translation>One of the SMS (GSM modem) parameters is missing</translation>
    </message>
</context>
<context>
    <name>zolbin::TPropertiesDialog</name>
    <message>
        <source>До&amp;бавить</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Свойства</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Со&amp;хранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Имя не должно содержать управляющих символов (перевод строки, табуляция, Esc).</source>
        <translation>The name must not contain control characters (line break, tab, Esc).</translation>
    </message>
</context>
<context>
    <name>zolbin::TWctpPanel</name>
    <message>
        <source>WCTP - &amp;URL</source>
        <translation>WCTP &amp;URL</translation>
    </message>
    <message>
        <source>От&amp;правитель</source>
        <translation>Sender &amp;ID</translation>
    </message>
    <message>
        <source>Код &amp;доступа</source>
        <translation>Securit&amp;y code</translation>
    </message>
    <message>
        <source>Полу&amp;чатель (#)</source>
        <translation>&amp;Recipient (#)</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmAbReg</name>
    <message>
        <source>Новый абонент</source>
        <translation>New Subscriber</translation>
    </message>
    <message>
        <source>Ци&amp;фровой</source>
        <translation>&amp;Numeric</translation>
    </message>
    <message>
        <source>И&amp;мя абонента</source>
        <translation>Subscriber na&amp;me</translation>
    </message>
    <message>
        <source>N пейд&amp;жера</source>
        <translation>&amp;Pager no.</translation>
    </message>
    <message>
        <source>Д&amp;л. сообщ.</source>
        <translation>Message &amp;length</translation>
    </message>
    <message>
        <source>П&amp;ейдж. компания</source>
        <translation>Paging &amp;company</translation>
    </message>
    <message>
        <source>Обяз. информация</source>
        <translation>Required</translation>
    </message>
    <message>
        <source>Доп. информация</source>
        <translation>Additional</translation>
    </message>
    <message>
        <source>Неверное значение имени.</source>
        <translation>Invalid name.</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmGrReg</name>
    <message>
        <source>Новая группа</source>
        <translation>New Group</translation>
    </message>
    <message>
        <source>И&amp;мя группы</source>
        <translation>Group na&amp;me</translation>
    </message>
    <message>
        <source>Все абоненты</source>
        <translation>All subscribers</translation>
    </message>
    <message>
        <source>Абоненты группы</source>
        <translation>Group members</translation>
    </message>
    <message>
        <source>В&amp;се абоненты</source>
        <translation>All s&amp;ubscribers</translation>
    </message>
    <message>
        <source>Абоненты &amp;группы</source>
        <translation>&amp;Group members</translation>
    </message>
    <message>
        <source>Добавить в группу всех абонентов</source>
        <translation>Add all subscribers to the group</translation>
    </message>
    <message>
        <source>Ctrl+Вправо в списке всех абонентов</source>
        <translation>Ctrl+Right in the list of all subscribers</translation>
    </message>
    <message>
        <source>Добавить абонента в группу</source>
        <translation>Add the subscriber to the group</translation>
    </message>
    <message>
        <source>Вправо или Insert в списке всех абонентов</source>
        <translation>Right or Insert in the list of all subscribers</translation>
    </message>
    <message>
        <source>Убрать абонента из группы</source>
        <translation>Remove the subscriber from the group</translation>
    </message>
    <message>
        <source>Влево или Delete в списке абонентов группы</source>
        <translation>Left or Delete in the list of group members</translation>
    </message>
    <message>
        <source>Убрать из группы всех абонентов</source>
        <translation>Remove all subscribers from the group</translation>
    </message>
    <message>
        <source>Ctrl+Влево в списке абонентов группы</source>
        <translation>Ctrl+Left in the list of group members</translation>
    </message>
    <message>
        <source>Удаляемый объект не выбран.</source>
        <translation>Nothing to delete is selected.</translation>
    </message>
    <message>
        <source>Неверное значение имени.</source>
        <translation>Invalid name.</translation>
    </message>
    <message>
        <source>В группе должен присутствовать хотя бы один абонент.</source>
        <translation>A group must have at least one subscriber.</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmPrvReg</name>
    <message>
        <source>Новая пейдж. компания</source>
        <translation>New Paging Company</translation>
    </message>
    <message>
        <source>И&amp;мя пейдж. компании </source>
        <translation>Paging company na&amp;me </translation>
    </message>
    <message>
        <source>  Используемый &amp;шлюз  </source>
        <translation>  &amp;Gateway  </translation>
    </message>
    <message>
        <source>SMS (GSM-модем)</source>
        <translation>SMS (GSM modem)</translation>
    </message>
    <message>
        <source>SNPP - &amp;cервер</source>
        <translation>SNPP ser&amp;ver</translation>
    </message>
    <message>
        <source>П&amp;орт</source>
        <translation>P&amp;ort</translation>
    </message>
    <message>
        <source>Коди&amp;ровка</source>
        <translation>Enco&amp;ding</translation>
    </message>
    <message>
        <source>Паро&amp;ль</source>
        <translation>&amp;Password</translation>
    </message>
    <message>
        <source>E-Mail &amp;адрес</source>
        <translation>E-Mail &amp;address</translation>
    </message>
    <message>
        <source>Пор&amp;т</source>
        <translation>Por&amp;t</translation>
    </message>
    <message>
        <source>Кодиров&amp;ка</source>
        <translation>En&amp;coding</translation>
    </message>
    <message>
        <source>Теле&amp;фон</source>
        <translation>P&amp;hone</translation>
    </message>
    <message>
        <source>Парол&amp;ь</source>
        <translation>Pass&amp;word</translation>
    </message>
    <message>
        <source>SNPP - доступ</source>
        <translation>SNPP access</translation>
    </message>
    <message>
        <source>SMTP - доступ</source>
        <translation>SMTP access</translation>
    </message>
    <message>
        <source>TAP - доступ</source>
        <translation>TAP access</translation>
    </message>
    <message>
        <source>SMS - доступ</source>
        <translation>SMS access</translation>
    </message>
    <message>
        <source>WCTP - доступ</source>
        <translation>WCTP access</translation>
    </message>
    <message>
        <source>Имя родного провайдера уникально и свято!</source>
        <translation>The home provider&apos;s name is unique and sacred!</translation>
    </message>
    <message>
        <source>Не заполнен один из параметров SNPP-сервера</source>
        <translation>One of the SNPP server&apos;s parameters is missing</translation>
    </message>
    <message>
        <source>Не заполнен один из параметров SMTP-сервера</source>
        <translation>One of the SMTP server&apos;s parameters is missing</translation>
    </message>
    <message>
        <source>Неверный E-Mail адрес</source>
        <translation>Invalid E-Mail address</translation>
    </message>
    <message>
        <source>Не заполнен один из параметров TAP-сервера</source>
        <translation>One of the TAP server&apos;s parameters is missing</translation>
    </message>
    <message>
        <source>Не заполнен параметр WCTP-сервера: «Имя пейдж. компании»</source>
        <translation>A WCTP server parameter is missing: “Paging company name”</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmRegistr</name>
    <message>
        <source>Регистрация</source>
        <translation>Directory</translation>
    </message>
    <message>
        <source>&amp;Абонент</source>
        <translation>&amp;Subscriber</translation>
    </message>
    <message>
        <source>Добавить ...</source>
        <translation>Add ...</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Свойства...</source>
        <translation>Properties...</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Добавлен абонент «%1»</source>
        <translation>Subscriber “%1” added</translation>
    </message>
    <message>
        <source>Добавлена группа «%1»</source>
        <translation>Group “%1” added</translation>
    </message>
    <message>
        <source>Добавлена пейдж. компания «%1»</source>
        <translation>Paging company “%1” added</translation>
    </message>
    <message>
        <source>&amp;Группа</source>
        <translation>&amp;Group</translation>
    </message>
    <message>
        <source>&amp;Пейдж. компания</source>
        <translation>&amp;Paging company</translation>
    </message>
    <message>
        <source>Удаляемый объект не выбран.</source>
        <translation>Nothing to delete is selected.</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>RecordFiles</name>
    <message>
        <source>Архив для абонента %1 не найден</source>
        <translation>No archive found for subscriber %1</translation>
    </message>
</context>
<context>
    <name>zolbin::QueueModel</name>
    <message>
        <source>В очереди</source>
        <translation>Queued</translation>
    </message>
    <message>
        <source>Отправляется</source>
        <translation>Sending</translation>
    </message>
    <message>
        <source>Отправлено</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Ожидает повтора</source>
        <translation>Waiting to retry</translation>
    </message>
    <message>
        <source>Не отправлено</source>
        <translation>Not sent</translation>
    </message>
    <message>
        <source>Исход неизвестен</source>
        <translation>Outcome unknown</translation>
    </message>
    <message>
        <source>Отменено</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>Поставлено</source>
        <translation>Queued at</translation>
    </message>
    <message>
        <source>Получатель</source>
        <translation>Recipient</translation>
    </message>
    <message>
        <source>Текст</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Компания</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Состояние</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Попытки</source>
        <translation>Attempts</translation>
    </message>
    <message>
        <source>Следующая попытка</source>
        <translation>Next attempt</translation>
    </message>
    <message>
        <source>Последний ответ</source>
        <translation>Last reply</translation>
    </message>
    <message>
        <source>Место</source>
        <translation>Desk</translation>
    </message>
    <message>
        <source>Отправил</source>
        <translation>Sent by</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmArchive</name>
    <message>
        <source>Архив</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Вы&amp;бор</source>
        <translation>&amp;Select</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Блок не найден.</source>
        <translation>Nothing is selected.</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmDelArch</name>
    <message>
        <source>Удаление архива</source>
        <translation>Delete Archives</translation>
    </message>
    <message>
        <source>Вс&amp;е</source>
        <translation>&amp;All</translation>
    </message>
    <message>
        <source>Выбрать всех абонентов</source>
        <translation>Select all subscribers</translation>
    </message>
    <message>
        <source>Уд&amp;алить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmLogView</name>
    <message>
        <source>Журнал работы</source>
        <translation>Activity Log</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Журнал работы пока пуст</source>
        <translation>The activity log is still empty</translation>
    </message>
</context>
<context>
    <name>zolbin::TfmQueue</name>
    <message>
        <source>Очередь сообщений</source>
        <translation>Message Queue</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Ожидают</source>
        <translation>Pending</translation>
    </message>
    <message>
        <source>Не отправлены</source>
        <translation>Not sent</translation>
    </message>
    <message>
        <source>По&amp;казать:</source>
        <translation>&amp;Show:</translation>
    </message>
    <message>
        <source>Сообщения в очереди</source>
        <translation>Messages in the queue</translation>
    </message>
    <message>
        <source>Отправить &amp;сейчас</source>
        <translation>Send &amp;now</translation>
    </message>
    <message>
        <source>&amp;Отменить</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Отправить &amp;повторно</source>
        <translation>&amp;Resend</translation>
    </message>
    <message>
        <source>&amp;Закрыть</source>
        <translation>C&amp;lose</translation>
    </message>
    <message>
        <source>Сообщение для абонента %1 могло быть доставлено:</source>
        <translation>The message for subscriber %1 may have been delivered:</translation>
    </message>
    <message>
        <source>Сообщение для абонента %1:</source>
        <translation>The message for subscriber %1:</translation>
    </message>
    <message>
        <source>Отправить его ещё раз?</source>
        <translation>Send it again?</translation>
    </message>
    <message>
        <source>Сообщения могли быть доставлены:</source>
        <translation>The messages may have been delivered:</translation>
    </message>
    <message>
        <source>Сообщения:</source>
        <translation>The messages:</translation>
    </message>
    <message>
        <source>и ещё %1</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>Отправить их ещё раз?</source>
        <translation>Send them again?</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
</context>
</TS>

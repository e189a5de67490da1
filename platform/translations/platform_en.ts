<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Convert</name>
    <message>
        <source>&apos;%1&apos; неверное целочисленное значение</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
</context>
<context>
    <name>HttpServer</name>
    <message>
        <source>Сертификат «%1» не прочитан</source>
        <translation>Certificate “%1” could not be read</translation>
    </message>
    <message>
        <source>Закрытый ключ «%1» не прочитан</source>
        <translation>Private key “%1” could not be read</translation>
    </message>
</context>
<context>
    <name>IoError</name>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Неверное иимя файла</source>
        <translation>Invalid file name</translation>
    </message>
    <message>
        <source>Слишком много открытых файлов</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>File access denied</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Read beyond end of file</translation>
    </message>
    <message>
        <source>Нет места на диске</source>
        <translation>No space left on the disk</translation>
    </message>
    <message>
        <source>Invalid numeric input</source>
        <translation>Invalid numeric input</translation>
    </message>
    <message>
        <source>Ошибка ввода/вывода %1</source>
        <translation>I/O error %1</translation>
    </message>
</context>
<context>
    <name>LineServer</name>
    <message>
        <source>Адрес «%1» не IP-адрес</source>
        <translation>The address “%1” is not an IP address</translation>
    </message>
    <message>
        <source>Не открыть порт %1:%2: %3</source>
        <translation>Cannot open port %1:%2: %3</translation>
    </message>
</context>
<context>
    <name>OwnerOnlyFile</name>
    <message>
        <source>%1 «%2» не читается: %3</source>
        <translation>%1 “%2” cannot be read: %3</translation>
    </message>
    <message>
        <source>%1 «%2» - не обычный файл</source>
        <translation>%1 “%2” is not a regular file</translation>
    </message>
    <message>
        <source>%1 «%2» доступен не только владельцу: нужны права 600 или 400 (chmod 600)</source>
        <translation>%1 “%2” is open to others than its owner: it needs mode 600 or 400 (chmod 600)</translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Unable to write to %1</translation>
    </message>
</context>
<context>
    <name>SerialLine</name>
    <message>
        <source>нет такого устройства</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>нет прав на доступ (нужна группа dialout?)</source>
        <translation>access denied (is the dialout group needed?)</translation>
    </message>
    <message>
        <source>порт занят другой программой</source>
        <translation>the port is in use by another program</translation>
    </message>
    <message>
        <source>это не последовательный порт</source>
        <translation>this is not a serial port</translation>
    </message>
    <message>
        <source>системная ошибка %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>Порт %1 не открыт: %2</source>
        <translation>Port %1 was not opened: %2</translation>
    </message>
    <message>
        <source>скорость %1 бит/с не поддерживается</source>
        <translation>the speed of %1 bit/s is not supported</translation>
    </message>
</context>
<context>
    <name>Tls</name>
    <message>
        <source>Ошибка TLS: %1</source>
        <translation>TLS error: %1</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл сертификатов: %1</source>
        <translation>Could not read the certificate file: %1</translation>
    </message>
    <message>
        <source>Сертификат сервера не подтверждён: %1</source>
        <translation>The server certificate was not verified: %1</translation>
    </message>
</context>
</TS>

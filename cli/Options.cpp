// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "cli/ExitStatus.h"
#include "directory/Settings.h"
#include "intake/IntakeService.h"

#include <QCoreApplication>
#include <array>

namespace zolbin {

namespace {

struct ValueOption
{
    const char* name;
    std::optional<std::string> SendOptions::*field;
};

constexpr std::array<ValueOption, 19> ValueOptions = {{
    {"--data-dir", &SendOptions::dataDir},
    {"--to", &SendOptions::to},
    {"--group", &SendOptions::group},
    {"--number", &SendOptions::number},
    {"--company", &SendOptions::company},
    {"--defer", &SendOptions::defer},
    {"--repeat", &SendOptions::repeat},
    {"--interval", &SendOptions::interval},
    {"--smtp-password-file", &SendOptions::smtpPasswordFile},
    {"--tap-device", &SendOptions::tapDevice},
    {"--gsm-device", &SendOptions::gsmDevice},
    {"--sim-pin-file", &SendOptions::simPinFile},
    {"--outbox", &SendOptions::outbox},
    {"--gates", &SendOptions::gatesText},
    {"--listen-snpp", &SendOptions::listenSnpp},
    {"--listen-http", &SendOptions::listenHttp},
    {"--directory-import", &SendOptions::directoryImport},
    {"--directory-export", &SendOptions::directoryExport},
    {"--list", nullptr},
}};

struct FlagOption
{
    const char* name;
    bool SendOptions::*field;
};

constexpr std::array<FlagOption, 7> FlagOptions = {{
    {"--no-signature", &SendOptions::noSignature},
    {"--stop-on-error", &SendOptions::stopOnError},
    {"--quiet", &SendOptions::quiet},
    {"--queue", &SendOptions::queue},
    {"--follow", &SendOptions::follow},
    {"--all", &SendOptions::all},
    {"--work-outbox", nullptr},
}};

SendOptions::Listing listingOf(const std::string& value)
{
    if (value == "subscribers")
        return SendOptions::Listing::Subscribers;
    if (value == "groups")
        return SendOptions::Listing::Groups;
    if (value == "companies")
        return SendOptions::Listing::Companies;
    if (value == "outbox")
        return SendOptions::Listing::Outbox;
    throw UsageError(QCoreApplication::translate(
                         "Options", "--list: ожидается subscribers, groups, companies или outbox, а не «%1»")
                         .arg(argText(value)));
}

void checkListRequest(const SendOptions& o)
{
    const bool sendOption = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                            o.noSignature || o.stopOnError;
    if (sendOption || !o.message.empty() || o.queue || o.follow || o.gates || o.listenSnpp || o.listenHttp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--list не сочетается с получателем, текстом и параметрами отправки"));
    if (o.all && o.listing != SendOptions::Listing::Outbox)
        throw UsageError(
            QCoreApplication::translate("Options", "--all указывается только вместе с --list outbox"));
}

void checkWorkRequest(const SendOptions& o)
{
    const bool pageOption = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                            o.noSignature || o.stopOnError || o.queue || o.all;
    if (pageOption || !o.message.empty())
        throw UsageError(QCoreApplication::translate(
            "Options", "--work-outbox не сочетается с получателем, текстом и параметрами сообщения"));
    if (o.listenSnpp && !o.follow)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-snpp указывается только вместе с --work-outbox --follow"));
    if (o.listenHttp && !o.follow)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-http указывается только вместе с --work-outbox --follow"));
}

// --directory-import or --directory-export, alone with the data folder and the database.
void checkTransferRequest(SendOptions& o, bool otherAction)
{
    const bool other = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                       o.noSignature || o.stopOnError || o.queue || o.follow || o.all || o.gates ||
                       !o.message.empty() || otherAction;
    if (other || (o.directoryImport && o.directoryExport))
        throw UsageError("--directory-import и --directory-export указываются одни, без других действий");
    const std::string& dir = o.directoryImport ? *o.directoryImport : *o.directoryExport;
    if (dir.empty())
        throw UsageError(std::string(o.directoryImport ? "--directory-import" : "--directory-export") +
                         ": не указана папка");
    o.action =
        o.directoryImport ? SendOptions::Action::DirectoryImport : SendOptions::Action::DirectoryExport;
}

void checkSendRequest(const SendOptions& o)
{
    // Told first: a --follow without --work-outbox is a worker's command line short of its action.
    if (o.follow)
        throw UsageError(
            QCoreApplication::translate("Options", "--follow указывается только вместе с --work-outbox"));
    if (o.all)
        throw UsageError(
            QCoreApplication::translate("Options", "--all указывается только вместе с --list outbox"));
    if (o.listenSnpp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-snpp указывается только вместе с --work-outbox --follow"));
    if (o.listenHttp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-http указывается только вместе с --work-outbox --follow"));
    const int recipients = (o.to ? 1 : 0) + (o.group ? 1 : 0) + (o.number ? 1 : 0);
    if (recipients == 0)
        throw UsageError(QCoreApplication::translate(
            "Options", "не указан получатель: нужен один из ключей --to, --group или --number"));
    if (recipients > 1)
        throw UsageError(QCoreApplication::translate(
            "Options", "получатель должен быть один: --to, --group и --number не сочетаются"));
    if (o.number && !o.company)
        throw UsageError(QCoreApplication::translate(
            "Options", "--number требует --company: пейдж. компания незарегистрированного абонента"));
    if (o.company && !o.number)
        throw UsageError(
            QCoreApplication::translate("Options", "--company указывается только вместе с --number"));
    if (o.repeat && !o.interval)
        throw UsageError(QCoreApplication::translate("Options", "--repeat требует --interval чч:мм"));
    if (o.interval && !o.repeat)
        throw UsageError(
            QCoreApplication::translate("Options", "--interval указывается только вместе с --repeat"));
}

} // namespace

SendOptions ParseArguments(const std::vector<std::string>& arguments)
{
    SendOptions options;
    std::optional<std::string> list;
    bool work = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.message.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.action = SendOptions::Action::Help;
            return options;
        }
        if (arg == "--version") {
            options.action = SendOptions::Action::Version;
            return options;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);

        bool known = false;
        for (const FlagOption& flag : FlagOptions) {
            if (name != flag.name)
                continue;
            if (equals != std::string::npos)
                throw UsageError(
                    QCoreApplication::translate("Options", "%1 не принимает значения").arg(argText(name)));
            (flag.field != nullptr ? options.*flag.field : work) = true;
            known = true;
        }
        for (const ValueOption& option : ValueOptions) {
            if (name != option.name)
                continue;
            std::optional<std::string>& slot = option.field != nullptr ? options.*option.field : list;
            if (slot)
                throw UsageError(
                    QCoreApplication::translate("Options", "%1 указан дважды").arg(argText(name)));
            if (equals != std::string::npos)
                slot = arg.substr(equals + 1);
            else if (i + 1 < arguments.size())
                slot = arguments[++i];
            else
                throw UsageError(
                    QCoreApplication::translate("Options", "%1: не указано значение").arg(argText(name)));
            known = true;
        }
        if (!known)
            throw UsageError(QCoreApplication::translate("Options", "неизвестный ключ %1").arg(argText(arg)));
    }

    if (options.smtpPasswordFile && options.smtpPasswordFile->empty())
        throw UsageError(QCoreApplication::translate("Options", "--smtp-password-file: не указан файл"));
    if (options.tapDevice && options.tapDevice->empty())
        throw UsageError(QCoreApplication::translate("Options", "--tap-device: не указано устройство"));
    if (options.gsmDevice && options.gsmDevice->empty())
        throw UsageError(QCoreApplication::translate("Options", "--gsm-device: не указано устройство"));
    if (options.simPinFile && options.simPinFile->empty())
        throw UsageError(QCoreApplication::translate("Options", "--sim-pin-file: не указан файл"));
    if (options.dataDir && options.dataDir->empty())
        throw UsageError(QCoreApplication::translate("Options", "--data-dir: не указана папка данных"));
    if (options.outbox && options.outbox->empty())
        throw UsageError(QCoreApplication::translate("Options", "--outbox: не указан адрес общей очереди"));
    if (options.gatesText) {
        options.gates = ParseGates(*options.gatesText);
        if (!options.gates || options.gatesText->empty())
            throw UsageError(QCoreApplication::translate("Options",
                                                         "--gates: ожидается список из snpp, smtp, tap, sms, "
                                                         "wctp через запятую или none, а не «%1»")
                                 .arg(argText(*options.gatesText)));
    }
    if (options.listenSnpp && !ParseListenAddress(*options.listenSnpp))
        throw UsageError(
            QCoreApplication::translate(
                "Options",
                "--listen-snpp: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:4444)")
                .arg(argText(*options.listenSnpp)));
    if (options.listenHttp && !ParseListenAddress(*options.listenHttp))
        throw UsageError(
            QCoreApplication::translate(
                "Options",
                "--listen-http: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:8080)")
                .arg(argText(*options.listenHttp)));
    if (list && work)
        throw UsageError(QCoreApplication::translate("Options", "--list не сочетается с --work-outbox"));
    if (options.directoryImport || options.directoryExport) {
        checkTransferRequest(options, list.has_value() || work);
        return options;
    }
    if (work) {
        options.action = SendOptions::Action::WorkOutbox;
        checkWorkRequest(options);
    } else if (list) {
        options.action = SendOptions::Action::List;
        options.listing = listingOf(*list);
        checkListRequest(options);
    } else {
        checkSendRequest(options);
    }
    return options;
}

std::string UsageText()
{
    return R"(Использование:
  zolbin-send [--data-dir ПАПКА] (--to ИМЯ | --group ИМЯ | --number N --company ИМЯ)
              [--defer "дд.мм.гггг чч:мм"] [--repeat 1|2 --interval чч:мм] [--no-signature]
              [--stop-on-error] [--quiet] [--smtp-password-file ФАЙЛ] [--tap-device УСТРОЙСТВО]
              [--gsm-device УСТРОЙСТВО] [--sim-pin-file ФАЙЛ] [--queue] [ТЕКСТ ...]
  zolbin-send [--data-dir ПАПКА] --list subscribers|groups|companies
  zolbin-send [--data-dir ПАПКА] [--outbox АДРЕС] --list outbox [--all]
  zolbin-send [--data-dir ПАПКА] [--outbox АДРЕС] --work-outbox [--follow] [--gates СПИСОК] [--quiet]
              [--listen-snpp УЗЕЛ:ПОРТ] [ключи линий и паролей]
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
  --defer "дд.мм.гггг чч:мм"
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
  Служба открывает приёмники, названные в разделе «Intake» настроек (ключ «SNPP» -
  «узел:порт»; «SNPPUsersFile» - файл пользователей «имя:пароль», доступный только
  владельцу; «MaxPagesPerMinute» - сколько сообщений в минуту принимается для одного
  получателя, по умолчанию 10, 0 - без предела). Без раздела и без ключа ничего не
  принимается. Каждое принятое сообщение записывается в очередь до ответа клиенту,
  а в журнал - строкой «Принято по SNPP от АДРЕС (ИМЯ): абонент «ИМЯ»».
  --listen-snpp УЗЕЛ:ПОРТ
                        принимать сообщения по SNPP (RFC 1861) на этом адресе вместо ключа
                        «SNPP» раздела «Intake»; 127.0.0.1 - только с этой машины. Клиент с
                        другой машины должен войти командой LOGIn (файл «SNPPUsersFile»).
                        Идентификатор пейджера - номер пейджера абонента, имя абонента или
                        группы

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
)";
}

} // namespace zolbin

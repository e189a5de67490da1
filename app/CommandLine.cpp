// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "platform/Text.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace zolbin {

namespace {

// The terminal's texts in the interface's language (the application's catalogues, once installed).
std::string said(const Text& text)
{
    return text.shown().toStdString();
}

std::string missingFolder()
{
    return said(tx("CommandLine", "--data-dir: не указана папка данных"));
}

// The toolkit's own options (QGuiApplication, QApplication and the X11 platform), each with one or two
// dashes; those of the first list take the next argument as their value.
constexpr std::string_view ToolkitOptionsWithValue[] = {"platform",
                                                        "platformpluginpath",
                                                        "platformtheme",
                                                        "plugin",
                                                        "qwindowgeometry",
                                                        "geometry",
                                                        "qwindowtitle",
                                                        "title",
                                                        "qwindowicon",
                                                        "icon",
                                                        "session",
                                                        "display",
                                                        "name",
                                                        "style",
                                                        "stylesheet"};
constexpr std::string_view ToolkitFlags[] = {"reverse", "nograb",      "dograb",
                                             "sync",    "widgetcount", "testability"};
constexpr std::string_view ToolkitOptionsWithEquals[] = {"style=", "stylesheet=", "qmljsdebugger="};

template <std::size_t N> bool oneOf(std::string_view name, const std::string_view (&names)[N])
{
    for (std::string_view n : names)
        if (n == name)
            return true;
    return false;
}

// Checks what is left for the toolkit, so that a wrong argument is told without a display. Returns the
// first argument that is no toolkit option, or empty; the values of -platform and -display are noted.
std::string unknownToolkitArgument(CommandLine& line)
{
    const std::vector<std::string>& other = line.other;
    for (std::size_t i = 1; i < other.size(); ++i) {
        std::string_view name = other[i];
        if (!name.starts_with('-') || name == "-" || name == "--")
            return other[i];
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        if (oneOf(name, ToolkitOptionsWithValue)) {
            if (i + 1 >= other.size())
                return other[i];
            if (name == "platform")
                line.platform = other[i + 1];
            else if (name == "display")
                line.display = other[i + 1];
            ++i;
            continue;
        }
        bool known = oneOf(name, ToolkitFlags);
        for (std::string_view prefix : ToolkitOptionsWithEquals)
            known = known || name.starts_with(prefix);
        if (!known)
            return other[i];
    }
    return {};
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    const std::string dataDirPrefix = "--data-dir=";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (i == 0) {
            result.other.push_back(arg);
        } else if (arg == "--help" || arg == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (arg == "--version" || arg == "-v") {
            result.action = CommandLine::Action::Version;
            return result;
        } else if (arg == "--desktop") {
            result.desktop = true;
        } else if (arg == "--data-dir") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                result.action = CommandLine::Action::Error;
                result.error = missingFolder();
                return result;
            }
            result.dataDir = arguments[++i];
        } else if (arg.starts_with(dataDirPrefix)) {
            result.dataDir = arg.substr(dataDirPrefix.size());
            if (result.dataDir.empty()) {
                result.action = CommandLine::Action::Error;
                result.error = missingFolder();
                return result;
            }
        } else {
            result.other.push_back(arg);
        }
    }
    if (const std::string unknown = unknownToolkitArgument(result); !unknown.empty()) {
        result.action = CommandLine::Action::Error;
        result.error = unknownArgumentText(unknown);
    }
    return result;
}

bool GraphicalSessionAvailable(const CommandLine& line, const EnvironmentLookup& env)
{
    const auto set = [&env](const char* name) {
        const char* value = env(name);
        return value != nullptr && *value != '\0';
    };
    const bool x11 = set("DISPLAY") || !line.display.empty(); // -display names the X server too
    std::string platforms = line.platform;
    if (platforms.empty() && set("QT_QPA_PLATFORM"))
        platforms = env("QT_QPA_PLATFORM");
    if (platforms.empty())
        return x11 || set("WAYLAND_DISPLAY");
    // "wayland;xcb": the toolkit tries each in turn; one that needs no display server always starts.
    std::string_view rest = platforms;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        std::string_view name = rest.substr(0, end);
        name = name.substr(0, name.find(':')); // "offscreen:fontengine=freetype"
        if (name == "xcb") {
            if (x11)
                return true;
        } else if (name.starts_with("wayland")) {
            if (set("WAYLAND_DISPLAY"))
                return true;
        } else if (!name.empty()) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

std::string unknownArgumentText(const std::string& argument)
{
    return QCoreApplication::translate("CommandLine", "неизвестный параметр %1")
        .arg(QString::fromLocal8Bit(argument))
        .toStdString();
}

std::string noGraphicalSessionText()
{
    return said(
        tx("CommandLine",
           "нет графического сеанса: не заданы ни DISPLAY, ни WAYLAND_DISPLAY. Zolbin Sender работает "
           "только в графическом сеансе; для отправки из сценариев есть zolbin-send."));
}

std::string usageText()
{
    return said(tx("CommandLine",
                   "Использование: zolbin [--data-dir ПАПКА | --desktop]\n"
                   "\n"
                   "Zolbin Sender - отправка сообщений на пейджеры.\n"
                   "\n"
                   "  --data-dir ПАПКА  папка данных (создаётся, если её нет)\n"
                   "  --desktop         запуск из меню рабочего стола: папка данных пользователя\n"
                   "                    $XDG_DATA_HOME/zolbin (обычно ~/.local/share/zolbin)\n"
                   "  --help            эта справка\n"
                   "  --version         версия программы\n"
                   "\n"
                   "Без --data-dir и --desktop папка данных - текущая папка.\n"));
}

std::string versionText()
{
    return "Zolbin Sender " ZOLBIN_VERSION;
}

std::string chooseDataDir(const CommandLine& line, const EnvironmentLookup& env)
{
    if (!line.dataDir.empty())
        return line.dataDir;
    if (!line.desktop)
        return {};
    // A relative XDG_DATA_HOME would depend on where the menu happens to start us: it is ignored.
    if (const char* xdg = env("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/zolbin";
    const char* home = env("HOME");
    if (home == nullptr || *home == '\0')
        return {};
    return std::string(home) + "/.local/share/zolbin";
}

std::string chooseDataDir(const CommandLine& line)
{
    return chooseDataDir(line, [](const char* name) -> const char* {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return value;
        if (std::string_view(name) == "HOME")
            if (const passwd* user = ::getpwuid(::getuid()); user != nullptr)
                return user->pw_dir;
        return nullptr;
    });
}

std::string prepareDataDir(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    // What entering the folder would say: not a folder, or one that may not be entered.
    if (!ec && !std::filesystem::is_directory(dir, ec) && !ec)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (!ec && ::access(dir.c_str(), X_OK) != 0)
        ec = std::error_code(errno, std::generic_category());
    if (ec)
        return dir + ": " + ec.message();
    return {};
}

} // namespace zolbin

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace zolbin {

namespace {

const char* const MissingFolder = "--data-dir: не указана папка данных";

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
                result.error = MissingFolder;
                return result;
            }
            result.dataDir = arguments[++i];
        } else if (arg.starts_with(dataDirPrefix)) {
            result.dataDir = arg.substr(dataDirPrefix.size());
            if (result.dataDir.empty()) {
                result.action = CommandLine::Action::Error;
                result.error = MissingFolder;
                return result;
            }
        } else {
            result.other.push_back(arg);
        }
    }
    return result;
}

std::string usageText()
{
    return "Использование: zolbin [--data-dir ПАПКА | --desktop]\n"
           "\n"
           "Zolbin Sender - отправка сообщений на пейджеры.\n"
           "\n"
           "  --data-dir ПАПКА  папка данных (создаётся, если её нет)\n"
           "  --desktop         запуск из меню рабочего стола: папка данных пользователя\n"
           "                    $XDG_DATA_HOME/zolbin (обычно ~/.local/share/zolbin)\n"
           "  --help            эта справка\n"
           "  --version         версия программы\n"
           "\n"
           "Без --data-dir и --desktop папка данных - текущая папка.\n";
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

std::string enterDataDir(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec)
        std::filesystem::current_path(dir, ec);
    if (ec)
        return dir + ": " + ec.message();
    return {};
}

} // namespace zolbin

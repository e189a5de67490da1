#include "app/CommandLine.h"

#include <filesystem>
#include <system_error>

namespace zolbin {

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
        } else if (arg == "--data-dir") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                result.action = CommandLine::Action::Error;
                result.error = "--data-dir: не указана папка данных";
                return result;
            }
            result.dataDir = arguments[++i];
        } else if (arg.starts_with(dataDirPrefix)) {
            result.dataDir = arg.substr(dataDirPrefix.size());
            if (result.dataDir.empty()) {
                result.action = CommandLine::Action::Error;
                result.error = "--data-dir: не указана папка данных";
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
    return "Использование: zolbin [--data-dir ПАПКА]\n"
           "\n"
           "Zolbin Sender - отправка сообщений на пейджеры.\n"
           "\n"
           "  --data-dir ПАПКА  папка данных (создаётся, если её нет); без этого ключа -\n"
           "                    текущая папка\n"
           "  --help            эта справка\n"
           "  --version         версия программы\n";
}

std::string versionText()
{
    return "Zolbin Sender " ZOLBIN_VERSION;
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

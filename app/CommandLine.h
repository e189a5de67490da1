#pragma once
// The program's own command-line options, answered before any window exists:
//   --data-dir DIR   work in DIR (created when missing) instead of the current directory
//   --help           the usage text
//   --version        "Zolbin Sender 2.0.1"
// Every other argument is left for the toolkit (-platform, -style, ...).

#include <string>
#include <vector>

namespace zolbin {

struct CommandLine
{
    enum class Action
    {
        Run,
        Help,
        Version,
        Error
    };
    Action action = Action::Run;
    std::string dataDir;            // empty: the current directory
    std::string error;              // for Action::Error, UTF-8
    std::vector<std::string> other; // arguments[0] and everything not ours, in order
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();   // UTF-8
std::string versionText(); // "Zolbin Sender 2.0.1"

// Creates the folder when missing and makes it the current directory. Returns an empty text or the
// reason of the failure (UTF-8).
std::string enterDataDir(const std::string& dir);

} // namespace zolbin

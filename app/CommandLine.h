// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own command-line options, answered before any window exists:
//   --data-dir DIR   work in DIR (created when missing)
//   --desktop        started from the desktop menu: work in the user's data folder
//                    ($XDG_DATA_HOME/zolbin, by default ~/.local/share/zolbin)
//   --help           the usage text
//   --version        "Zolbin Sender 2.0.1"
// Without --data-dir or --desktop the data folder is the current directory. Every other argument is left
// for the toolkit (-platform, -style, ...).

#include <functional>
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
    std::string dataDir;            // --data-dir; empty when not given
    bool desktop = false;           // --desktop
    std::string error;              // for Action::Error, UTF-8 in the interface's language
    std::vector<std::string> other; // arguments[0] and everything not ours, in order
    std::string platform;           // the toolkit's -platform value, empty when not given
    std::string display;            // the toolkit's -display value (an X server), empty when not given
};

// What is not ours must be one of the toolkit's options (-platform NAME, -style=NAME, ...): anything
// else is a usage error, told before the toolkit (and any display) is reached.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The texts for the terminal (UTF-8), in the interface's language once the catalogues are installed.
std::string usageText();
std::string unknownArgumentText(const std::string& argument); // "неизвестный параметр ARGUMENT"
std::string versionText();                                    // "Zolbin Sender 2.0.1"

// Reads one environment variable; nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Whether the toolkit can open a window: a platform that needs no display server (-platform or
// QT_QPA_PLATFORM: offscreen, vnc, eglfs, ...), or the X11 or Wayland display the chosen or default
// platform needs (DISPLAY or -display, WAYLAND_DISPLAY).
bool GraphicalSessionAvailable(const CommandLine& line, const EnvironmentLookup& env);
// The message without one (UTF-8, after "zolbin: ").
std::string noGraphicalSessionText();

// The folder the program works in: --data-dir when given; for a start from the desktop menu the user's
// data folder $XDG_DATA_HOME/zolbin, or ~/.local/share/zolbin when XDG_DATA_HOME is unset, empty or not
// an absolute path; otherwise empty, meaning the current directory.
std::string chooseDataDir(const CommandLine& line, const EnvironmentLookup& env);

// The same with the process environment (and the password database when HOME is not set).
std::string chooseDataDir(const CommandLine& line);

// Creates the folder when missing and checks that the program can work in it (a folder it may enter);
// the current directory stays as it is. Returns an empty text or the reason of the failure (UTF-8).
std::string prepareDataDir(const std::string& dir);

} // namespace zolbin

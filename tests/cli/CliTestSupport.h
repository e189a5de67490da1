// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the zolbin-send tests: a directory written to the list files of a data folder, the settings
// file, and runs of zolbin-send in this process or as the built executable (with a time limit).

#include "directory/Lists.h"
#include "dispatch/Deadlines.h"
#include "platform/Codepage.h"

#include <map>
#include <string>
#include <vector>

namespace zolbin::test {

// cp1251 bytes of a UTF-8 text.
inline std::string W(const char* utf8Text)
{
    return cp(utf8Text);
}

// The directory of a data folder, built by the test and written with the list files' own writers.
struct DirectoryFiles
{
    // A company on 127.0.0.1 at the port for both gates, gateway address "@gw.example".
    TProvider& company(const std::string& name, std::uint8_t gate, std::uint16_t port,
                       const std::string& charset = "KOI8-R");
    AbonentPtr subscriber(const std::string& name, std::int32_t number, const std::string& company,
                          std::int32_t msgLen = 240, bool digital = false);
    void group(const std::string& name, const std::vector<AbonentPtr>& members);
    // "Abonent.lst", "Group.lst", "Company.lst" of the folder.
    void write(const std::string& folder) const;

    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
};

// Section "Sender" of "Zolbin.ini" in the folder: SMTPServer 127.0.0.1, EMail op@example.org and the
// given keys (cp1251 values).
void WriteSettings(const std::string& folder, const std::map<std::string, std::string>& sender = {});

// Copies the shipped code tables into the folder.
void CopyCodeTables(const std::string& folder);

struct CliRun
{
    int status = -1;
    std::string out; // UTF-8
    std::string err; // UTF-8
};

// zolbin-send run in this process on a session of its own (and the application object it has);
// input is standard input.
CliRun RunInProcess(const std::vector<std::string>& arguments, const std::string& input = {},
                    const SendDeadlines& deadlines = {});

// The built zolbin-send in the folder, killed after timeoutMs (status -1 then).
CliRun RunExecutable(const std::vector<std::string>& arguments, const std::string& folder,
                     const std::string& input = {}, int timeoutMs = 60000);

// The same through bash, its standard error piped into "head -c 1", a reader that quits after the first
// byte; the status is zolbin-send's (pipefail).
CliRun RunExecutableIntoClosedPipe(const std::vector<std::string>& arguments, const std::string& folder);

// The lines of a journal file's bytes (CR LF split), in UTF-8.
std::vector<std::string> Utf8Lines(const std::string& cp1251Bytes);

} // namespace zolbin::test

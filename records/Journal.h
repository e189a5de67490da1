#pragma once
// The work journal "Zolbin.log": cp1251 lines ending with CR LF, only ever appended. Every write opens
// the file, writes and closes it again; no handle stays open between writes.

#include <string>

namespace zolbin {

inline constexpr const char* JournalFileName = "Zolbin.log";

class TJournal
{
public:
    explicit TJournal(std::string fileName = JournalFileName);

    const std::string& fileName() const { return fileName_; }

    // Creates the file empty when it does not exist. Throws EInOutError on failure.
    void EnsureExists() const;
    // Appends one line (CR LF added). Throws EInOutError when the file cannot be opened or written.
    void WriteLine(const std::string& line) const;
    // Appends one empty line: the end of one recipient's block.
    void WriteEmptyLine() const { WriteLine(std::string()); }

private:
    std::string fileName_;
};

} // namespace zolbin

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"

#include <cerrno>
#include <vector>

namespace zolbin {

namespace {

constexpr std::size_t MaxValueLength = 2047;
const char* const LineEnd = "\r\n";

// Letter case folding for names: Latin and the cp1251 Cyrillic letters.
unsigned char foldCase(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF))
        return static_cast<unsigned char>(c + 0x20);
    if (c == 0xA8) // Ё
        return 0xB8;
    return c;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(static_cast<unsigned char>(a[i])) != foldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// One line of the file: its text and its own line end ("\r\n", "\n" or none for the last line).
struct Line
{
    std::string text;
    std::string end;
};

std::vector<Line> splitLines(const std::string& bytes)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t nl = bytes.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back({bytes.substr(pos), ""});
            break;
        }
        std::size_t textEnd = nl;
        if (textEnd > pos && bytes[textEnd - 1] == '\r')
            --textEnd;
        lines.push_back({bytes.substr(pos, textEnd - pos), bytes.substr(textEnd, nl + 1 - textEnd)});
        pos = nl + 1;
    }
    return lines;
}

// True for a "[name]" line, with the name.
bool sectionOf(std::string_view line, std::string_view& name)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    const std::size_t close = line.find(']');
    name = trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// The key of a "key=value" line (false for comments and lines without "=").
bool keyOf(std::string_view line, std::string_view& key, std::string_view& value)
{
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';')
        return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

// Where a section's lines are: [first, last) after its header, or header == npos when missing.
struct SectionRange
{
    std::size_t header = std::string::npos;
    std::size_t end = 0;
};

SectionRange findSection(const std::vector<Line>& lines, std::string_view section)
{
    SectionRange range;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (!sectionOf(lines[i].text, name))
            continue;
        if (range.header != std::string::npos) {
            range.end = i;
            return range;
        }
        if (sameName(name, section))
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

// A value is stored on one line: a NUL ends it, line breaks inside it become blanks.
std::string oneLine(std::string_view text)
{
    std::string s(text.substr(0, text.find('\0')));
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

// Replaces the key's line or adds it, adding the section when missing.
void setKey(std::vector<Line>& lines, const std::string& section, const std::string& key,
            const std::string& value)
{
    const std::string keyLine = oneLine(key) + "=" + oneLine(value);
    const SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos) {
        if (!lines.empty()) {
            if (lines.back().end.empty())
                lines.back().end = LineEnd;
            if (!trim(lines.back().text).empty())
                lines.push_back({"", LineEnd});
        }
        lines.push_back({"[" + oneLine(section) + "]", LineEnd});
        lines.push_back({keyLine, LineEnd});
        return;
    }
    std::size_t lastUsed = range.header; // the section's last non-blank line
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        std::string_view k, v;
        if (keyOf(lines[i].text, k, v) && sameName(k, key)) {
            lines[i].text = keyLine;
            return;
        }
        if (!trim(lines[i].text).empty())
            lastUsed = i;
    }
    if (lines[lastUsed].end.empty())
        lines[lastUsed].end = LineEnd;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastUsed + 1), Line{keyLine, LineEnd});
}

} // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& def) const
{
    std::string bytes;
    if (readWholeFile(path_, bytes) != 0)
        return def;
    const std::vector<Line> lines = splitLines(bytes);
    const SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos)
        return def;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        std::string_view k, v;
        if (!keyOf(lines[i].text, k, v) || !sameName(k, key))
            continue;
        // A value in matching quotes is read without them.
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(v.substr(0, MaxValueLength));
    }
    return def;
}

Status ProfileFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    return writeStrings({{section, key, value}});
}

Status ProfileFile::writeStrings(const std::vector<Entry>& entries)
{
    const auto refused = [this](const Failure& why) {
        return Failure{why.code, tx("ProfileFile", "Unable to write to %1").arg(cp(path_))};
    };
    std::string bytes;
    const int readError = readWholeFile(path_, bytes);
    if (readError != 0 && readError != ENOENT)
        return refused(Failure::fromErrno(readError));

    std::vector<Line> lines = splitLines(bytes);
    for (const Entry& entry : entries)
        setKey(lines, entry.section, entry.key, entry.value);
    std::string out;
    for (const Line& line : lines)
        out += line.text + line.end;

    const Status written = rewriteWholeFile(path_, out);
    if (!written)
        return refused(written.failure());
    return {};
}

} // namespace zolbin

// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the two character set tables the program converts outgoing text with:
//   1251-koi.cod  byte i = the KOI8-R byte for the cp1251 byte i
//   1251-866.cod  byte i = the cp866 byte for the cp1251 byte i
// from the code pages as the C library's iconv publishes them. A cp1251 character that the target code
// page cannot hold (typographic signs, some Serbian and Ukrainian letters) becomes '?'; the lower half
// maps to itself.
//
// Usage: make-codetables OUTPUT_FOLDER

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <string>

namespace {

bool buildTable(const char* target, unsigned char (&table)[256])
{
    iconv_t cd = iconv_open(target, "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror(target);
        return false;
    }
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<unsigned char>(i);
        if (i < 0x80)
            continue;
        char in[1] = {static_cast<char>(i)};
        char out[8] = {};
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const std::size_t produced = sizeof out - outLeft;
        table[i] =
            (r == static_cast<std::size_t>(-1) || produced != 1) ? '?' : static_cast<unsigned char>(out[0]);
    }
    iconv_close(cd);
    return true;
}

bool writeTable(const std::string& path, const unsigned char (&table)[256])
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(table), 256);
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    unsigned char koi[256];
    unsigned char dos[256];
    if (!buildTable("KOI8-R", koi) || !buildTable("CP866", dos))
        return 1;
    if (!writeTable(folder + "/1251-koi.cod", koi) || !writeTable(folder + "/1251-866.cod", dos)) {
        std::perror("write");
        return 1;
    }
    return 0;
}

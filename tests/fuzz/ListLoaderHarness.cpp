// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/ListLoaderHarness.h"

#include "directory/Lists.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zolbin::fuzz {

namespace {

namespace fs = std::filesystem;

// One folder per process, removed at exit.
const std::string& inputPath()
{
    static const std::string path = [] {
        std::string pattern = (fs::temp_directory_path() / "zolbin-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        static const std::string folder = pattern;
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(folder, ec);
        });
        return folder + "/input.lst";
    }();
    return path;
}

template <typename List> LoadOutcome load(const std::string& path)
{
    List list;
    LoadOutcome outcome;
    const Status loaded = list.LoadFromFile(path);
    outcome.loaded = loaded.ok();
    if (!loaded)
        outcome.ioCode = loaded.failure().code;
    outcome.count = list.Count();
    return outcome;
}

} // namespace

const char* listName(ListKind kind)
{
    switch (kind) {
    case ListKind::Abonent:
        return "abonent";
    case ListKind::Group:
        return "group";
    case ListKind::Company:
        return "company";
    }
    return "?";
}

LoadOutcome loadListBytes(ListKind kind, std::string_view bytes)
{
    const std::string& path = inputPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write the fuzz input");
    }
    switch (kind) {
    case ListKind::Abonent:
        return load<TAbonentList>(path);
    case ListKind::Group:
        return load<TGroupList>(path);
    case ListKind::Company:
        return load<TProviderList>(path);
    }
    return {};
}

} // namespace zolbin::fuzz

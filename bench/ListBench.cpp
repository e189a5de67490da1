// SPDX-License-Identifier: GPL-3.0-or-later
// The directory lists without any window: loading and saving each list file beside a plain read and
// write of the same bytes, linking the groups' members, sorting and rewriting, the prefix search.

#include "bench/BenchDirectory.h"
#include "bench/BenchFolders.h"
#include "directory/Lists.h"
#include "platform/FileIo.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin::bench {

namespace fs = std::filesystem;

namespace {

std::map<int, std::string>& folders()
{
    static std::map<int, std::string> made;
    return made;
}

} // namespace

const std::string& Folder(int subscribers)
{
    auto& made = folders();
    auto it = made.find(subscribers);
    if (it == made.end())
        it = made.emplace(subscribers, MakeDirectory(StandardSize(subscribers))).first;
    return it->second;
}

std::string PathIn(int subscribers, const char* fileName)
{
    return (fs::path(Folder(subscribers)) / fileName).string();
}

void RemoveFolders()
{
    for (const auto& [size, folder] : folders())
        fs::remove_all(folder);
    folders().clear();
}

namespace {

const char* fileOf(int which)
{
    return which == 0 ? AbonentFileName : which == 1 ? GroupFileName : CompanyFileName;
}

template <typename List> void loadInto(List& list, const std::string& path, benchmark::State& state)
{
    if (const Status loaded = list.LoadFromFile(path); !loaded)
        state.SkipWithError("load failed");
}

// Baseline: the bytes of the file read into a buffer of the file's size with plain reads.
void BM_ReadBytes(benchmark::State& state)
{
    const std::string path =
        PathIn(static_cast<int>(state.range(1)), fileOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        struct stat st
        {
        };
        if (fd < 0 || fstat(fd, &st) != 0) {
            state.SkipWithError("open failed");
            break;
        }
        std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_Load(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const std::string path = PathIn(static_cast<int>(state.range(1)), fileOf(which));
    for (auto _ : state) {
        if (which == 0) {
            TAbonentList list;
            loadInto(list, path, state);
        } else if (which == 1) {
            TGroupList list;
            loadInto(list, path, state);
        } else {
            TProviderList list;
            loadInto(list, path, state);
        }
    }
}

// Baseline: the same bytes written to a new file, synced and renamed over it, as a save must.
void BM_WriteBytes(benchmark::State& state)
{
    const std::string path =
        PathIn(static_cast<int>(state.range(1)), fileOf(static_cast<int>(state.range(0))));
    std::string bytes;
    readWholeFile(path, bytes);
    const std::string temp = path + ".bench";
    for (auto _ : state) {
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            fsync(fd) != 0 || close(fd) != 0 || rename(temp.c_str(), path.c_str()) != 0)
            state.SkipWithError("write failed");
    }
}

void BM_Save(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const std::string path = PathIn(static_cast<int>(state.range(1)), fileOf(which));
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
    if (which == 0)
        loadInto(abonents, path, state);
    else if (which == 1)
        loadInto(groups, path, state);
    else
        loadInto(providers, path, state);
    for (auto _ : state) {
        const Status saved = which == 0   ? abonents.SaveToFile(path)
                             : which == 1 ? groups.SaveToFile(path)
                                          : providers.SaveToFile(path);
        if (!saved)
            state.SkipWithError("save failed");
    }
}

void BM_LinkMembers(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const DataFolder folder = DataFolderOf(size);
    TAbonentList abonents;
    loadInto(abonents, folder.path(AbonentFileName), state);
    for (auto _ : state) {
        state.PauseTiming();
        TGroupList groups;
        loadInto(groups, folder.path(GroupFileName), state);
        state.ResumeTiming();
        if (!groups.LinkMembers(abonents, folder))
            state.SkipWithError("link failed");
    }
}

// The same records in a list that has seen no file, so that it rewrites the file unchecked.
TAbonentList recordsOf(const TAbonentList& list)
{
    TAbonentList copy;
    for (const AbonentPtr& a : list)
        copy.Add(a);
    return copy;
}

// Sorting the subscribers as loaded, then the rewrite of "Abonent.lst" that every reordering makes.
void BM_SortAndSave(benchmark::State& state)
{
    const bool byName = state.range(0) == 0;
    const int size = static_cast<int>(state.range(1));
    const DataFolder folder = DataFolderOf(size);
    TAbonentList loaded;
    loadInto(loaded, folder.path(AbonentFileName), state);
    for (auto _ : state) {
        state.PauseTiming();
        TAbonentList abonents = recordsOf(loaded);
        state.ResumeTiming();
        if (byName)
            abonents.SortByName();
        else
            abonents.SortByNumber();
        if (!abonents.Save(folder))
            state.SkipWithError("save failed");
    }
    // The next runs find the file as it was made.
    if (!recordsOf(loaded).Save(folder))
        state.SkipWithError("restore failed");
}

// One keystroke of the Ctrl search: the prefix of a name far down the list, one more letter each time.
void BM_FindByPrefix(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TAbonentList abonents;
    loadInto(abonents, PathIn(size, AbonentFileName), state);
    const std::string name = abonents[abonents.Count() - 1]->Name.str();
    std::size_t length = 0;
    for (auto _ : state) {
        length = length % name.size() + 1;
        benchmark::DoNotOptimize(abonents.FindByPrefix(name.substr(0, length)));
    }
}

void FileArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"file", "subscribers"});
    for (int which : {0, 1, 2})
        for (int size : {100, 10000, 100000})
            if (which == 0 || size == 100000)
                b->Args({which, size});
}

} // namespace

BENCHMARK(BM_ReadBytes)->Apply(FileArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Apply(FileArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Apply(FileArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Apply(FileArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkMembers)->ArgName("subscribers")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAndSave)
    ->ArgNames({"byNumber", "subscribers"})
    ->Args({0, 100000})
    ->Args({1, 100000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindByPrefix)->ArgName("subscribers")->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace zolbin::bench

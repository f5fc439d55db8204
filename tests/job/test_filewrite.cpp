// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/filewrite.h"
#include "wording/wording.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvik::job {
namespace {

namespace fs = std::filesystem;

// What the user is told of a write that failed; "" for one that was done.
std::string told(const std::optional<FileWriteError> &error)
{
    return error ? wording(*error) : std::string();
}

struct Scratch {
    Scratch()
    {
        std::string name = (fs::temp_directory_path() / "filewrite.XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~Scratch() { fs::remove_all(path); }
    fs::path path;
};

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

mode_t modeOf(const fs::path &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Nothing is left behind but the files the test made itself.
std::size_t entries(const fs::path &directory)
{
    return std::size_t(std::distance(fs::directory_iterator(directory), {}));
}

// A new shared file gets what the umask allows; one replaced keeps its mode; a private one is
// the owner's alone whatever was there. A link to the file stays a link.
TEST(FileWrite, ModesAndLinks)
{
    const Scratch scratch;
    const mode_t mask = ::umask(027);
    const fs::path file = scratch.path / "job.zorvik";
    EXPECT_EQ(told(writeFileAtomically(file.string(), "one")), "");
    EXPECT_EQ(modeOf(file), 0640u);
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    EXPECT_EQ(told(writeFileAtomically(file.string(), "two")), "");
    EXPECT_EQ(modeOf(file), 0604u);
    EXPECT_EQ(told(writeFileAtomically(file.string(), "three", FileAccess::Private)), "");
    EXPECT_EQ(modeOf(file), 0600u);
    ::umask(mask);

    const fs::path link = scratch.path / "link.zorvik";
    fs::create_symlink("job.zorvik", link);
    EXPECT_EQ(told(writeFileAtomically(link.string(), "four")), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(file), "four");
    EXPECT_EQ(entries(scratch.path), 2u);

    const fs::path state = scratch.path / "state/Zorvik-Engineer";
    EXPECT_EQ(told(makePrivateDirectories(state.string())), "");
    EXPECT_EQ(modeOf(state), 0700u);
    EXPECT_EQ(modeOf(state.parent_path()), 0700u);
}

// A write the disk takes part of leaves the old file as it was and nothing beside it, and says
// why: past the file size limit (the signal that would end the program ignored, as the
// calculator does), and on a file system smaller than the bytes, where the test is given one.
TEST(FileWrite, FailureKeepsTheOldFile)
{
    const std::string bytes(200000, 'x');
    const std::string old = "the job as it was\n";
    auto check = [&](const fs::path &directory, const std::string &why) {
        const fs::path file = directory / "job.zorvik";
        const std::size_t before = entries(directory);
        EXPECT_EQ(told(writeFileAtomically(file.string(), bytes)), why);
        EXPECT_EQ(contents(file), old);
        EXPECT_EQ(entries(directory), before);
    };

    const Scratch scratch;
    std::ofstream(scratch.path / "job.zorvik") << old;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    check(scratch.path, "File too large");
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::signal(SIGXFSZ, SIG_DFL);

    const char *full = std::getenv("ZORVIK_FULL_DISK");
    if (!full)
        GTEST_SKIP() << "no full file system given (ZORVIK_FULL_DISK); "
                        "tests/reliability/gui_writes.sh gives one";
    std::ofstream(fs::path(full) / "job.zorvik") << old;
    check(full, "No space left on device");
    fs::remove(fs::path(full) / "job.zorvik");
}

} // namespace
} // namespace zorvik::job

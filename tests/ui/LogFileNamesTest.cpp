#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "ui/main/LogFileNames.h"

namespace zz {
namespace {

namespace fs = std::filesystem;

TEST(LogFileNames, StampIsZeroPaddedDateUnderscoreTime)
{
    const struct
    {
        int Year, Month, Day, Hour, Minute, Second;
        const char* Expected;
    } cases[] = {
        {2009, 7, 14, 3, 5, 9, "20090714_030509"},
        {2024, 12, 31, 23, 59, 59, "20241231_235959"},
        {2000, 1, 1, 0, 0, 0, "20000101_000000"},
        {812, 2, 3, 4, 5, 6, "08120203_040506"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected);
        EXPECT_EQ(LogTimeStamp(c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second), c.Expected);
    }
    const TLogFileNames names = DefaultLogFileNames("20090714_030509");
    EXPECT_EQ(names.Log, "20090714_030509.log");
    EXPECT_EQ(names.Raw, "20090714_030509.bin");
}

TEST(LogFileNames, FileNameDropsTheFolder)
{
    EXPECT_EQ(FileNameOnly("/home/user/logs/20090714_030509.log"), "20090714_030509.log");
    EXPECT_EQ(FileNameOnly("a.bin"), "a.bin");
}

// A scratch folder with a real folder, a link to it, an existing file, a link to that file and
// a hard link to it.
class SameFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Root = fs::temp_directory_path() / ("zz_same_file_" + std::to_string(::getpid()));
        fs::remove_all(Root);
        fs::create_directories(Root / "real" / "sub");
        fs::create_directory_symlink(Root / "real", Root / "linked");
        std::ofstream(Root / "real" / "existing.log") << "x";
        fs::create_symlink(Root / "real" / "existing.log", Root / "real" / "alias.bin");
        fs::create_hard_link(Root / "real" / "existing.log", Root / "real" / "hard.bin");
    }
    void TearDown() override { fs::remove_all(Root); }

    std::string At(const std::string& relative) const { return (Root / relative).string(); }

    fs::path Root;
};

TEST_F(SameFileTest, TwoSpellingsOfOneFileAreTheSameFile)
{
    const struct
    {
        const char* First;
        const char* Second;
        bool Same;
    } cases[] = {
        {"real/new.log", "real/new.log", true},
        {"real/new.log", "real/./new.log", true},
        {"real/new.log", "real/sub/../new.log", true},
        {"real/new.log", "linked/new.log", true},
        {"real/existing.log", "linked/existing.log", true},
        {"real/existing.log", "real/alias.bin", true},
        {"real/existing.log", "real/hard.bin", true},
        {"real/new.log", "real/new.bin", false},
        {"real/new.log", "real/sub/new.log", false},
        {"real/existing.log", "linked/sub/existing.log", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.First << " vs " << c.Second);
        EXPECT_EQ(IsSameFile(At(c.First), At(c.Second)), c.Same);
    }
}

TEST_F(SameFileTest, RelativeAndAbsoluteSpellingsMeet)
{
    const fs::path before = fs::current_path();
    fs::current_path(Root / "linked");
    const bool same = IsSameFile("new.log", At("real/new.log"));
    const bool sameUp = IsSameFile("sub/../new.log", At("linked/new.log"));
    fs::current_path(before);
    EXPECT_TRUE(same);
    EXPECT_TRUE(sameUp);
}

} // namespace
} // namespace zz

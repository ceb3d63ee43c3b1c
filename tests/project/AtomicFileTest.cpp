#include "project/AtomicFile.h"
#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs check as an ordinary user in a new folder of its own: root may write any file, so a
// run as root does this in a child that first becomes the unprivileged user "nobody".
// check returns true when the outcome was right; the result is 0 then, 1 when it was wrong
// and 2 when the child could not be set up.
int AsOrdinaryUser(bool (*check)(const fs::path& folder)) {
    const pid_t child = fork();
    if (child != 0) {
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)
                   ? WEXITSTATUS(status)
                   : 2;
    }
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
        _exit(2);
    char pattern[] = "/tmp/atomic-file-user-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        _exit(2);
    const bool right = check(pattern);
    fs::permissions(pattern, fs::perms::owner_all);
    fs::remove_all(pattern);
    _exit(right ? 0 : 1);
}

bool ReadOnlyFileIsRefused(const fs::path& folder) {
    const fs::path target = folder / "project.xml";
    WriteBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read);
    std::string error;
    return !AtomicFile::Replace(target.string(), "new", error) && ReadBytes(target) == "old" &&
           error.find("Permission denied") != std::string::npos;
}

// A folder that refuses new files still lets a writable file in it be saved, in place.
bool WritableFileInReadOnlyFolderIsWritten(const fs::path& folder) {
    const fs::path target = folder / "project.xml";
    WriteBytes(target, std::string(100, 'o'));
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    return AtomicFile::Replace(target.string(), "new", error) && ReadBytes(target) == "new";
}

// A new file there is refused with the chosen file's name, not a temporary's.
bool NewFileInReadOnlyFolderNamesTheFile(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path target = folder / "project.xml";
    std::string error;
    return !AtomicFile::Replace(target.string(), "new", error) && !fs::exists(target) &&
           error == "cannot write '" + target.string() + "': " + std::strerror(EACCES);
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/atomic-file-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;
};

TEST_F(AtomicFileTest, CreatesAndReplacesWithTheExactBytes) {
    const fs::path target = m_folder / "project.xml";
    std::string error;
    ASSERT_TRUE(AtomicFile::Replace(target.string(), "first\r\n", error)) << error;
    EXPECT_EQ(ReadBytes(target), "first\r\n");
    const std::string binary("a\0b\xff", 4);
    ASSERT_TRUE(AtomicFile::Replace(target.string(), binary, error)) << error;
    EXPECT_EQ(ReadBytes(target), binary);
    ASSERT_TRUE(AtomicFile::Replace(target.string(), "", error)) << error;
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(Entries(), std::vector<std::string>{"project.xml"});
}

TEST_F(AtomicFileTest, AFileNameOfTheLongestLengthAllowedIsWritten) {
    const std::string name = std::string(251, 'n') + ".xml";
    const fs::path target = m_folder / name;
    WriteBytes(target, "old");
    std::string error;
    ASSERT_TRUE(AtomicFile::Replace(target.string(), "new", error)) << error;
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(AtomicFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const fs::path target = m_folder / "project.xml";
    const std::string original(64, 'o');
    WriteBytes(target, original);
    std::string error;
    bool replaced = true;
    {
        CFileSizeLimit limit(100);
        replaced = AtomicFile::Replace(target.string(), std::string(4096, 'n'), error);
    }
    EXPECT_FALSE(replaced);
    EXPECT_NE(error.find("cannot write '" + target.string() + "'"), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(target), original);
    EXPECT_EQ(Entries(), std::vector<std::string>{"project.xml"});
}

TEST_F(AtomicFileTest, AMissingFolderIsNamedWithTheSystemText) {
    const fs::path target = m_folder / "no" / "such" / "project.xml";
    std::string error;
    EXPECT_FALSE(AtomicFile::Replace(target.string(), "x", error));
    EXPECT_NE(error.find((m_folder / "no" / "such").string()), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
    EXPECT_TRUE(Entries().empty());
}

TEST_F(AtomicFileTest, AFolderInTheWayIsNotReplaced) {
    const fs::path occupied = m_folder / "occupied";
    fs::create_directory(occupied);
    WriteBytes(occupied / "inside.txt", "keep");
    std::string error;
    EXPECT_FALSE(AtomicFile::Replace(occupied.string(), "x", error));
    EXPECT_NE(error.find("cannot replace '" + occupied.string() + "'"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(occupied / "inside.txt"), "keep");
    EXPECT_EQ(Entries(), std::vector<std::string>{"occupied"});
}

TEST_F(AtomicFileTest, FolderAndFilePermissionsDecideAsWritingInPlaceWould) {
    EXPECT_EQ(AsOrdinaryUser(ReadOnlyFileIsRefused), 0);
    EXPECT_EQ(AsOrdinaryUser(WritableFileInReadOnlyFolderIsWritten), 0);
    EXPECT_EQ(AsOrdinaryUser(NewFileInReadOnlyFolderNamesTheFile), 0);
}

TEST_F(AtomicFileTest, AFolderThatTakesNoFilesIsReportedForTheChosenFile) {
    std::string error;
    EXPECT_FALSE(AtomicFile::Replace("/proc/project.xml", "x", error));
    EXPECT_EQ(error, std::string("cannot write '/proc/project.xml': ") + std::strerror(ENOENT));
}

TEST_F(AtomicFileTest, AHardLinkedFileIsWrittenInPlaceSoEveryNameSeesIt) {
    const fs::path target = m_folder / "project.xml";
    const fs::path other = m_folder / "copy.xml";
    WriteBytes(target, std::string(100, 'o'));
    fs::create_hard_link(target, other);
    std::string error;
    ASSERT_TRUE(AtomicFile::Replace(target.string(), "new", error)) << error;
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(ReadBytes(other), "new");
    EXPECT_EQ(fs::hard_link_count(target), 2u);
}

TEST_F(AtomicFileTest, AnotherUsersFileKeepsItsOwner) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    constexpr uid_t kNobody = 65534;
    const fs::path target = m_folder / "project.xml";
    WriteBytes(target, "old");
    ASSERT_EQ(chown(target.c_str(), kNobody, kNobody), 0) << std::strerror(errno);
    std::string error;
    ASSERT_TRUE(AtomicFile::Replace(target.string(), "new", error)) << error;
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kNobody);
    EXPECT_EQ(status.st_gid, kNobody);
}

TEST_F(AtomicFileTest, KeepsPermissionsAndFollowsALink) {
    const fs::path target = m_folder / "real.xml";
    const fs::path link = m_folder / "link.xml";
    WriteBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, link);
    std::string error;
    ASSERT_TRUE(AtomicFile::Replace(link.string(), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.xml", "real.xml"}));
}

} // namespace

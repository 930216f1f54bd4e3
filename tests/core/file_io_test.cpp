#include "core/files/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "temp_dir.h"

namespace sorvi {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using ReadFileTest = ScratchTest;
using ReplaceFileContentsTest = ScratchTest;
using RecoverListFileTest = ScratchTest;

mode_t ModeOf(const std::string& path) {
  struct stat st = {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// ---- reading -----------------------------------------------------------------

TEST_F(ReadFileTest, ReadsEveryByte) {
  const std::string bytes = "[G]\r\n\x82\xA0\0tail"s;
  WriteRaw(dir.File("list.txt"), bytes);
  const FileReadResult read = ReadFile(dir.File("list.txt"));
  EXPECT_EQ(read.status, ReadStatus::kRead);
  EXPECT_EQ(read.bytes, bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("list.txt")), bytes);

  WriteRaw(dir.File("empty.txt"), "");
  EXPECT_EQ(ReadFile(dir.File("empty.txt")).status, ReadStatus::kRead);
  EXPECT_EQ(ReadWholeFile(dir.File("empty.txt")), "");
}

TEST_F(ReadFileTest, NothingThereIsMissing) {
  EXPECT_EQ(ReadFile(dir.File("none.txt")).status, ReadStatus::kMissing);
  EXPECT_EQ(ReadFile(dir.File("no/dir/list.txt")).status, ReadStatus::kMissing);
  fs::create_symlink("gone.txt", dir.File("link.txt"));
  EXPECT_EQ(ReadFile(dir.File("link.txt")).status, ReadStatus::kMissing);
  EXPECT_EQ(ReadWholeFile(dir.File("none.txt")), std::nullopt);
}

TEST_F(ReadFileTest, DirectoryOfThatNameIsUnreadableNotMissing) {
  fs::create_directory(dir.File("list.txt"));
  const FileReadResult read = ReadFile(dir.File("list.txt"));
  EXPECT_EQ(read.status, ReadStatus::kUnreadable);
  EXPECT_NE(read.error, 0);
  EXPECT_TRUE(read.bytes.empty());
  EXPECT_EQ(ReadWholeFile(dir.File("list.txt")), std::nullopt);
}

TEST_F(ReadFileTest, FileWithoutReadPermissionIsUnreadable) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files of any mode";
  WriteRaw(dir.File("list.txt"), "data");
  fs::permissions(dir.File("list.txt"), fs::perms::none);
  const FileReadResult read = ReadFile(dir.File("list.txt"));
  EXPECT_EQ(read.status, ReadStatus::kUnreadable);
  EXPECT_NE(read.error, 0);
}

// ---- replacing ---------------------------------------------------------------

TEST_F(ReplaceFileContentsTest, WritesExactlyTheBytesAndLeavesNoCopy) {
  const std::string path = dir.File("list.txt");
  ASSERT_TRUE(ReplaceFileContents(path, "first\r\n"));
  EXPECT_EQ(ReadRaw(path), "first\r\n");
  // A stale copy from an earlier run is no obstacle and does not survive.
  WriteRaw(path + ".___", "stale copy");
  ASSERT_TRUE(ReplaceFileContents(path, "\x82\xA0\0x"s));
  EXPECT_EQ(ReadRaw(path), "\x82\xA0\0x"s);
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(ReadRaw(path), "");
  EXPECT_TRUE(fs::is_regular_file(path));
  EXPECT_FALSE(fs::exists(path + ".___"));
}

TEST_F(ReplaceFileContentsTest, FailedRenameKeepsTheOldAndReportsWhy) {
  // A directory where the list should be: the copy is written, the rename fails.
  const std::string path = dir.File("list.txt");
  fs::create_directory(path);
  WriteRaw(path + "/inside", "keep");
  int error = 0;
  EXPECT_FALSE(ReplaceFileContents(path, "new\r\n", &error));
  EXPECT_NE(error, 0);
  EXPECT_EQ(ReadRaw(path + "/inside"), "keep");
  EXPECT_FALSE(fs::exists(path + ".___"));
}

TEST_F(ReplaceFileContentsTest, CopyNameTakenKeepsTheOldList) {
  const std::string path = dir.File("list.txt");
  WriteRaw(path, "old\r\n");
  fs::create_directory(path + ".___");
  WriteRaw(path + ".___/inside", "someone's");
  int error = 0;
  EXPECT_FALSE(ReplaceFileContents(path, "new\r\n", &error));
  EXPECT_NE(error, 0);
  EXPECT_EQ(ReadRaw(path), "old\r\n");
  EXPECT_EQ(ReadRaw(path + ".___/inside"), "someone's");
}

TEST_F(ReplaceFileContentsTest, CopyNameHeldByALinkNeverWritesThroughIt) {
  const std::string path = dir.File("list.txt");
  WriteRaw(dir.File("other.txt"), "other file");
  fs::create_symlink("other.txt", path + ".___");
  ASSERT_TRUE(ReplaceFileContents(path, "new\r\n"));
  EXPECT_EQ(ReadRaw(path), "new\r\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
  EXPECT_EQ(ReadRaw(dir.File("other.txt")), "other file");
}

TEST_F(ReplaceFileContentsTest, LinkedListStaysALinkAndItsTargetGetsTheBytes) {
  fs::create_directory(dir.File("data"));
  WriteRaw(dir.File("data/real.txt"), "old\r\n");
  // A chain: list.txt -> data/mid.txt -> real.txt (each relative to its link).
  fs::create_symlink("real.txt", dir.File("data/mid.txt"));
  fs::create_symlink("data/mid.txt", dir.File("list.txt"));
  EXPECT_EQ(FinalLinkTarget(dir.File("list.txt")), dir.File("data/real.txt"));

  ASSERT_TRUE(ReplaceFileContents(dir.File("list.txt"), "new\r\n"));
  EXPECT_EQ(fs::read_symlink(dir.File("list.txt")), "data/mid.txt");
  EXPECT_EQ(fs::read_symlink(dir.File("data/mid.txt")), "real.txt");
  EXPECT_EQ(ReadRaw(dir.File("data/real.txt")), "new\r\n");
  EXPECT_FALSE(fs::exists(dir.File("list.txt.___")));
  EXPECT_FALSE(fs::exists(dir.File("data/real.txt.___")));
}

TEST_F(ReplaceFileContentsTest, DanglingLinkGetsItsTargetCreated) {
  fs::create_symlink(dir.File("real.txt"), dir.File("list.txt"));
  ASSERT_TRUE(ReplaceFileContents(dir.File("list.txt"), "new\r\n"));
  EXPECT_TRUE(fs::is_symlink(dir.File("list.txt")));
  EXPECT_EQ(ReadRaw(dir.File("real.txt")), "new\r\n");
}

TEST_F(ReplaceFileContentsTest, LinkLoopFailsAndLeavesTheLinks) {
  fs::create_symlink("b", dir.File("a"));
  fs::create_symlink("a", dir.File("b"));
  int error = 0;
  EXPECT_FALSE(ReplaceFileContents(dir.File("a"), "new", &error));
  EXPECT_NE(error, 0);
  EXPECT_TRUE(fs::is_symlink(dir.File("a")));
  EXPECT_TRUE(fs::is_symlink(dir.File("b")));
}

TEST_F(ReplaceFileContentsTest, NewFileKeepsTheOldPermissions) {
  const std::string path = dir.File("list.txt");
  for (const mode_t mode : {0640u, 0600u, 0664u, 0444u}) {
    WriteRaw(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(ReplaceFileContents(path, "new"));
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(ReadRaw(path), "new");
    fs::remove(path);
  }
  // A file made afresh follows the umask like any other.
  ASSERT_TRUE(ReplaceFileContents(path, "new"));
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(path), 0666u & ~mask);
}

TEST_F(ReplaceFileContentsTest, NewFileKeepsTheOldOwnerWhereAllowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to someone else";
  const std::string path = dir.File("list.txt");
  WriteRaw(path, "old");
  ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
  ASSERT_TRUE(ReplaceFileContents(path, "new"));
  struct stat st = {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
}

// ---- start-up recovery ---------------------------------------------------------

TEST_F(RecoverListFileTest, CopyIsTakenOverWhenTheListIsMissing) {
  const std::string path = dir.File("SV_List.txt");
  WriteRaw(path + ".___", "[a]\r\nhttp://a/\r\n");
  RecoverListFile(path);
  EXPECT_EQ(ReadRaw(path), "[a]\r\nhttp://a/\r\n");
  EXPECT_FALSE(fs::exists(path + ".___"));
}

TEST_F(RecoverListFileTest, CopyBesideAListIsDeleted) {
  const std::string path = dir.File("SV_Code.txt");
  WriteRaw(path, "list");
  WriteRaw(path + ".___", "copy");
  RecoverListFile(path);
  EXPECT_EQ(ReadRaw(path), "list");
  EXPECT_FALSE(fs::exists(path + ".___"));

  // Without a copy nothing changes, and nothing is made.
  RecoverListFile(dir.File("none.txt"));
  EXPECT_FALSE(fs::exists(dir.File("none.txt")));
}

TEST_F(RecoverListFileTest, CopyBesideSomethingElseIsKept) {
  const std::string path = dir.File("SV_List.txt");
  fs::create_directory(path);
  WriteRaw(path + ".___", "only data left");
  RecoverListFile(path);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(ReadRaw(path + ".___"), "only data left");
}

TEST_F(RecoverListFileTest, LinkedListIsRecoveredAtItsTarget) {
  fs::create_directory(dir.File("data"));
  fs::create_symlink("data/real.txt", dir.File("SV_List.txt"));
  // Where an interrupted save through the link leaves its copy.
  WriteRaw(dir.File("data/real.txt.___"), "saved");
  RecoverListFile(dir.File("SV_List.txt"));
  EXPECT_TRUE(fs::is_symlink(dir.File("SV_List.txt")));
  EXPECT_EQ(ReadRaw(dir.File("SV_List.txt")), "saved");
  EXPECT_FALSE(fs::exists(dir.File("data/real.txt.___")));
}

// ---- a save stopped half-way ---------------------------------------------------

// Runs ReplaceFileContents in a child process that the system stops (the
// file size limit's signal) after `limit` bytes of the copy are written.
void SaveKilledAfter(const std::string& path, size_t limit, const std::string& bytes) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    const rlimit size{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::signal(SIGXFSZ, SIG_DFL);
    ReplaceFileContents(path, bytes);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not stopped";
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
}

bool MakesUnnamedFiles(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

TEST_F(ReplaceFileContentsTest, FirstSaveStoppedHalfWayLeavesNoCopyForTheNextStart) {
  if (!MakesUnnamedFiles(fs::path(dir.File()).parent_path()))
    GTEST_SKIP() << "this file system makes no unnamed files; the copy is written under its name";
  // No list yet: a half copy named ".___" would be taken over as the list.
  const std::string path = dir.File("SV_Code.txt");
  const std::string bytes(64 * 1024, 'x');
  SaveKilledAfter(path, 3 * 4096 + 100, bytes);
  EXPECT_FALSE(fs::exists(path + ".___"));
  RecoverListFile(path);
  EXPECT_FALSE(fs::exists(path));

  // Beside an old list, the old list stays and the next save goes through.
  WriteRaw(path, "old\r\n");
  SaveKilledAfter(path, 4096, bytes);
  EXPECT_EQ(ReadRaw(path), "old\r\n");
  EXPECT_FALSE(fs::exists(path + ".___"));
  ASSERT_TRUE(ReplaceFileContents(path, bytes));
  EXPECT_EQ(ReadRaw(path), bytes);
}

}  // namespace
}  // namespace sorvi

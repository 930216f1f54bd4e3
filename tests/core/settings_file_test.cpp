#include <gtest/gtest.h>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/app_options.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

namespace fs = std::filesystem;

using namespace std::string_literals;

// A scratch directory for the file, the file's bytes as they are before and
// after a commit.
class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile Load(std::string_view bytes) {
    WriteRaw(dir.File(), bytes);
    return SettingsFile(dir.File());
  }
  std::string Saved(SettingsFile& file) {
    EXPECT_FALSE(file.Commit().Failed());
    return ReadRaw(dir.File());
  }

  TempDir dir;
};
using SettingsRead = SettingsFileTest;
using SettingsWrite = SettingsFileTest;
using SettingsErase = SettingsFileTest;
using SettingsReplaceSection = SettingsFileTest;
using SettingsRefusedWrite = SettingsFileTest;
using SettingsUnreadable = SettingsFileTest;
using SettingsWriteTarget = SettingsFileTest;
using SettingsBrokenFiles = SettingsFileTest;

// ---- reading -----------------------------------------------------------------

TEST_F(SettingsRead, AbsentOrEmptyFileGivesDefaultsAndCreatesNothing) {
  const SettingsFile absent(dir.File());
  EXPECT_EQ(absent.ReadString("Option", "Editor", "Notepad"), "Notepad");
  EXPECT_EQ(absent.ReadInteger("Window", "Top", 50), 50);
  EXPECT_TRUE(absent.ReadBool("Option", "AutoSave", true));
  EXPECT_FALSE(absent.Unreadable());
  EXPECT_FALSE(fs::exists(dir.File()));

  const SettingsFile empty = Load("");
  EXPECT_EQ(empty.ReadString("Option", "Editor", "Notepad"), "Notepad");
  EXPECT_FALSE(empty.ReadBool("Option", "Client", false));
}

TEST_F(SettingsRead, SectionAndKeyNamesIgnoreLetterCase) {
  const SettingsFile file = Load("[option]\r\nautosave=0\r\n[WINDOW]\r\nTOP=7\r\n");
  EXPECT_FALSE(file.ReadBool("Option", "AutoSave", true));
  EXPECT_EQ(file.ReadInteger("Window", "Top", 50), 7);
  EXPECT_EQ(file.ReadInteger("Window", "Topp", 50), 50);
}

TEST_F(SettingsRead, LetterCaseIsNotFoldedInsideDoubleByteCharacters) {
  // 0x83 0x41 and 0x83 0x61 are different characters whose second bytes are
  // 'A' and 'a'.
  const SettingsFile file = Load("[S]\r\nk\x83\x41=wide\r\n");
  EXPECT_EQ(file.ReadString("s", "K\x83\x41", "-"), "wide");
  EXPECT_EQ(file.ReadString("S", "k\x83\x61", "-"), "-");
}

TEST_F(SettingsRead, SecondByteThatLooksLikeABracketDoesNotCloseTheSection) {
  const SettingsFile file = Load("[\x83\x5D]\r\nk=1\r\n[S]\r\n[\x83\x5D\r\nm=2\r\n");
  EXPECT_EQ(file.ReadString("\x83\x5D", "k", "-"), "1");
  // "[" followed by a character ending in 0x5D is no section header.
  EXPECT_EQ(file.ReadString("\x83", "m", "-"), "-");
  EXPECT_EQ(file.ReadString("S", "m", "-"), "2");
}

TEST_F(SettingsRead, ValueLosesBlanksAndOnePairOfQuotes) {
  const SettingsFile file = Load(
      "[S]\r\n"
      "a = \t\"C:\\Program Files\\ed.exe\" \t\r\n"
      "b=''x''\r\n"
      "c=\"mixed'\r\n"
      "d=\"\r\n"
      "e=  inner  blanks  \r\n"
      "  f  =single'quoted'\r\n"
      "g='q'\r\n");
  EXPECT_EQ(file.ReadString("S", "a", ""), "C:\\Program Files\\ed.exe");
  EXPECT_EQ(file.ReadString("S", "b", ""), "'x'");
  EXPECT_EQ(file.ReadString("S", "c", ""), "\"mixed'");
  EXPECT_EQ(file.ReadString("S", "d", ""), "\"");
  EXPECT_EQ(file.ReadString("S", "e", ""), "inner  blanks");
  EXPECT_EQ(file.ReadString("S", "f", ""), "single'quoted'");
  EXPECT_EQ(file.ReadString("S", "g", ""), "q");
}

TEST_F(SettingsRead, PresentButEmptyValueIsEmptyNotDefault) {
  const SettingsFile file = Load("[Option]\r\nEditor=\r\nA=   \r\nB=\"\"\r\n");
  EXPECT_EQ(file.ReadString("Option", "Editor", "Notepad"), "");
  EXPECT_EQ(file.ReadString("Option", "A", "Notepad"), "");
  EXPECT_EQ(file.ReadString("Option", "B", "Notepad"), "");
}

TEST_F(SettingsRead, LongValueIsCutAt2047BytesBetweenCharacters) {
  const std::string ascii(3000, 'a');
  // A double-byte character straddling the limit is left out whole.
  const std::string wide = std::string(2046, 'b') + "\x82\xA0" + "cc";
  const SettingsFile file = Load("[S]\r\nascii=" + ascii + "\r\nwide=" + wide + "\r\n");
  EXPECT_EQ(file.ReadString("S", "ascii", ""), ascii.substr(0, 2047));
  EXPECT_EQ(file.ReadString("S", "wide", ""), std::string(2046, 'b'));
}

TEST_F(SettingsRead, FirstSectionAndFirstKeyWin) {
  const SettingsFile file = Load("[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nonly=4\r\n");
  EXPECT_EQ(file.ReadInteger("S", "k", 0), 1);
  // Keys of a later duplicate section are not found.
  EXPECT_EQ(file.ReadInteger("S", "only", 0), 0);
}

TEST_F(SettingsRead, AcceptsEveryLineEnd) {
  const SettingsFile file = Load("[S]\na=1\rb=2\r\nc=3\n\r\n[T]\rd=4");
  EXPECT_EQ(file.ReadInteger("S", "a", 0), 1);
  EXPECT_EQ(file.ReadInteger("S", "b", 0), 2);
  EXPECT_EQ(file.ReadInteger("S", "c", 0), 3);
  EXPECT_EQ(file.ReadInteger("T", "d", 0), 4);
}

TEST_F(SettingsRead, KeysBelongOnlyToTheirSection) {
  const SettingsFile file = Load("orphan=1\r\n  [ Sp ]  \r\nx=2\r\nno equals sign\r\n[Other]\r\ny=3\r\n");
  EXPECT_EQ(file.ReadString("", "orphan", "-"), "-");
  EXPECT_EQ(file.ReadString("Sp", "x", "-"), "2");
  EXPECT_EQ(file.ReadString("Sp", "y", "-"), "-");
  EXPECT_EQ(file.ReadString("Sp", "no equals sign", "-"), "-");
}

// ---- numbers -----------------------------------------------------------------

class NumberFile {
 public:
  explicit NumberFile(std::string_view value) { WriteRaw(dir_.File(), "[N]\r\nv=" + std::string(value) + "\r\n"); }
  int32_t Read(int32_t def) const { return SettingsFile(dir_.File()).ReadInteger("N", "v", def); }
  bool ReadBool(bool def) const { return SettingsFile(dir_.File()).ReadBool("N", "v", def); }

 private:
  TempDir dir_;
};

TEST(SettingsNumbers, HexadecimalPrefixes) {
  EXPECT_EQ(NumberFile("0x1F4").Read(300), 500);
  EXPECT_EQ(NumberFile("0X1f4").Read(300), 500);
  EXPECT_EQ(NumberFile("$1F4").Read(300), 500);
  EXPECT_EQ(NumberFile("0x00000000FF").Read(0), 255);
}

TEST(SettingsNumbers, HexadecimalIsA32BitPattern) {
  EXPECT_EQ(NumberFile("0x7FFFFFFF").Read(0), INT32_MAX);
  EXPECT_EQ(NumberFile("0x80000000").Read(0), INT32_MIN);
  EXPECT_EQ(NumberFile("0xFFFFFFFF").Read(0), -1);
  EXPECT_EQ(NumberFile("0x100000000").Read(9), 9);
}

TEST(SettingsNumbers, DecimalWithSignWithin32Bits) {
  EXPECT_EQ(NumberFile("+42").Read(0), 42);
  EXPECT_EQ(NumberFile("-42").Read(0), -42);
  EXPECT_EQ(NumberFile("  0042  ").Read(0), 42);
  EXPECT_EQ(NumberFile("\"7\"").Read(0), 7);
  EXPECT_EQ(NumberFile("2147483647").Read(0), INT32_MAX);
  EXPECT_EQ(NumberFile("-2147483648").Read(0), INT32_MIN);
  EXPECT_EQ(NumberFile("2147483648").Read(9), 9);
  EXPECT_EQ(NumberFile("-2147483649").Read(9), 9);
  EXPECT_EQ(NumberFile("99999999999999999999999").Read(9), 9);
}

TEST(SettingsNumbers, TextThatIsNotEntirelyANumberGivesDefault) {
  for (const char* text :
       {"", "abc", "12abc", "1 2", "1.5", "+", "-", "- 5", "0x", "$", "0xG", "0x1G", "-0x10", "$-1", "１２"}) {
    EXPECT_EQ(NumberFile(text).Read(300), 300) << text;
  }
}

TEST(SettingsNumbers, BooleansAreNonZeroIntegers) {
  EXPECT_TRUE(NumberFile("2").ReadBool(false));
  EXPECT_TRUE(NumberFile("-1").ReadBool(false));
  EXPECT_FALSE(NumberFile("0").ReadBool(true));
  EXPECT_FALSE(NumberFile("0x0").ReadBool(true));
  EXPECT_TRUE(NumberFile("yes").ReadBool(true));
  EXPECT_FALSE(NumberFile("yes").ReadBool(false));
  EXPECT_TRUE(NumberFile("").ReadBool(true));
}

// ---- writing -----------------------------------------------------------------

TEST_F(SettingsWrite, FirstWriteCreatesFileWithCrLf) {
  SettingsFile file(dir.File());
  file.WriteString("Option", "Editor", "vi");
  file.WriteInteger("Window", "Top", -5);
  file.WriteBool("Option", "Client", true);
  file.WriteBool("Option", "Silent", false);
  file.WriteInteger("Window", "Left", INT32_MIN);
  // Nothing reaches the disk before the commit, then all of it at once.
  EXPECT_FALSE(fs::exists(dir.File()));
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()),
            "[Option]\r\nEditor=vi\r\nClient=1\r\nSilent=0\r\n"
            "[Window]\r\nTop=-5\r\nLeft=-2147483648\r\n");
  EXPECT_FALSE(fs::exists(dir.File() + ".___"));
  // It holds the address history: a new file is the user's alone.
  struct stat st = {};
  ASSERT_EQ(::stat(dir.File().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST_F(SettingsWrite, ReplacedValueKeepsKeySpellingAndPlace) {
  SettingsFile file = Load("[option]\r\nAAA=1\r\n  autosave = 1 \r\nZZZ=2\r\n");
  file.WriteBool("Option", "AutoSave", false);
  EXPECT_EQ(Saved(file), "[option]\r\nAAA=1\r\nautosave=0\r\nZZZ=2\r\n");
  EXPECT_FALSE(file.ReadBool("OPTION", "AUTOSAVE", true));
}

TEST_F(SettingsWrite, NewKeyGoesToTheEndOfItsSection) {
  WriteRaw(dir.File(), "[A]\r\nx=1\r\n; note\r\n\r\n \t\r\n[B]\r\ny=2\r\n[Empty]\r\n");
  SettingsFile file(dir.File());
  file.WriteString("a", "z", "3");
  file.WriteString("Empty", "e", "4");
  EXPECT_EQ(Saved(file), "[A]\r\nx=1\r\n; note\r\nz=3\r\n\r\n \t\r\n[B]\r\ny=2\r\n[Empty]\r\ne=4\r\n");
}

TEST_F(SettingsWrite, NewSectionGoesToTheEndOfTheFile) {
  WriteRaw(dir.File(), "[A]\r\nx=1");  // no final line end
  SettingsFile file(dir.File());
  file.WriteString("B", "k", "v");
  EXPECT_EQ(Saved(file), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
}

TEST_F(SettingsWrite, LinesItDoesNotKnowSurviveByteForByte) {
  const std::string before =
      "; comment \x95\x5C\x8E\xA6\n"
      "junk before any section\n"
      "[Unknown]\n"
      "  odd key  =  'odd value'  \t\n"
      "\x82\xA0\x82\xA2=\x8A\xBF\x8E\x9A\n"
      "[Window]\n"
      "Top=1\n"
      "Mystery=\"keep\"\n";
  SettingsFile file = Load(before);
  file.WriteInteger("Window", "Top", 2);
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()),
            "; comment \x95\x5C\x8E\xA6\r\n"
            "junk before any section\r\n"
            "[Unknown]\r\n"
            "  odd key  =  'odd value'  \t\r\n"
            "\x82\xA0\x82\xA2=\x8A\xBF\x8E\x9A\r\n"
            "[Window]\r\n"
            "Top=2\r\n"
            "Mystery=\"keep\"\r\n");
}

TEST_F(SettingsWrite, ReadsAfterWritesMatchAFreshRead) {
  SettingsFile file = Load("[S]\r\nk=old\r\n[s]\r\nk=dup\r\n");
  file.WriteString("S", "k", "  \"new\"  ");
  file.WriteString("S", "n", "\x8A\xBF");
  file.WriteInteger("T", "i", 12);
  file.WriteInteger("T", "j", 13);
  // A key and value that write a section line: the later keys of S go
  // before it.
  file.WriteString("S", "[x", "y]");
  file.WriteString("S", "m", "after");
  ASSERT_FALSE(file.Commit().Failed());
  const SettingsFile fresh(dir.File());
  for (const SettingsFile* f : {static_cast<const SettingsFile*>(&file), &fresh}) {
    EXPECT_EQ(f->ReadString("S", "k", ""), "  \"new\"  ");
    EXPECT_EQ(f->ReadString("S", "n", ""), "\x8A\xBF");
    EXPECT_EQ(f->ReadInteger("T", "i", 0), 12);
    EXPECT_EQ(f->ReadInteger("T", "j", 0), 13);
    EXPECT_EQ(f->ReadString("S", "m", ""), "after");
    EXPECT_EQ(f->ReadString("S", "[x", "-"), "-");
  }
  // The first of the duplicated sections took the writes.
  EXPECT_EQ(ReadRaw(dir.File()),
            "[S]\r\nk=\"  \"new\"  \"\r\nn=\x8A\xBF\r\nm=after\r\n[x=y]\r\n[s]\r\nk=dup\r\n"
            "[T]\r\ni=12\r\nj=13\r\n");
}

TEST_F(SettingsWrite, ValueIsCutAtALineBreakOrNul) {
  SettingsFile file(dir.File());
  file.WriteString("S", "a", "one\r\n[Evil]\r\nx=1");
  file.WriteString("S", "b", "two\0three"s);
  EXPECT_EQ(Saved(file), "[S]\r\na=one\r\nb=two\r\n");
  EXPECT_EQ(file.ReadString("Evil", "x", "-"), "-");
}

// ---- erasing -----------------------------------------------------------------

// Found by fuzzing: a key macro ending in a blank, or one in quotes, lost
// them at the next start.
TEST_F(SettingsWrite, ValuesTheReadWouldTrimOrUnquoteReadBackAsWritten) {
  const std::vector<std::string> values = {" lead", "trail\t", "\"quoted\"", "'single'",
                                           "\"",    "''",      " \"both\" ", "\x83\x5C "};
  {
    SettingsFile file(dir.File());
    for (size_t i = 0; i < values.size(); ++i) file.WriteString("S", std::to_string(i), values[i]);
    file.WriteString("S", "plain", "a \"b\" c");
    ASSERT_FALSE(file.Commit().Failed());
  }
  const SettingsFile reread(dir.File());
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(reread.ReadString("S", std::to_string(i), "-"), values[i]) << i;
  // Values that read back anyway are written as they are.
  EXPECT_NE(ReadRaw(dir.File()).find("\r\nplain=a \"b\" c\r\n"), std::string::npos);
  EXPECT_NE(ReadRaw(dir.File()).find("\r\n0=\" lead\"\r\n"), std::string::npos);
}

TEST_F(SettingsErase, RemovesTheSectionUpToTheNext) {
  WriteRaw(dir.File(), "[A]\r\nx=1\r\n\r\n[URL]\r\n1=a\r\n; c\r\nCount=1\r\n\r\n[B]\r\ny=2\r\n");
  SettingsFile file(dir.File());
  file.EraseSection("url");
  EXPECT_EQ(Saved(file), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(file.ReadString("URL", "1", "-"), "-");
  file.EraseSection("B");
  EXPECT_EQ(Saved(file), "[A]\r\nx=1\r\n\r\n");
}

TEST_F(SettingsErase, RemovesEveryDuplicate) {
  SettingsFile file = Load("[K]\r\na=1\r\n[X]\r\nb=2\r\n[k]\r\na=3\r\n");
  file.EraseSection("K");
  EXPECT_EQ(file.ReadString("K", "a", "-"), "-");
  EXPECT_EQ(Saved(file), "[X]\r\nb=2\r\n");
}

TEST_F(SettingsErase, MissingSectionWritesNothing) {
  SettingsFile absent(dir.File());
  absent.EraseSection("URL");
  EXPECT_FALSE(absent.HasChanges());
  ASSERT_FALSE(absent.Commit().Failed());
  EXPECT_FALSE(fs::exists(dir.File()));

  SettingsFile lf = Load("[A]\nx=1\n");
  lf.EraseSection("URL");
  EXPECT_EQ(Saved(lf), "[A]\nx=1\n");
}

TEST_F(SettingsReplaceSection, EveryDuplicateGoesAndTheNewOneEndsTheFile) {
  SettingsFile file = Load("[URL]\nCount=9\n[A]\nx=1\n\xFF junk\n[url]\n1=old\n");
  file.ReplaceSection("URL", {{"1", " http://a/ "}, {"2", "b\r\n[Evil]\r\nx=1"}, {"Count", "2"}});
  EXPECT_EQ(Saved(file), "[A]\r\nx=1\r\n\xFF junk\r\n[URL]\r\n1=\" http://a/ \"\r\n2=b\r\nCount=2\r\n");
  EXPECT_EQ(file.ReadString("URL", "1", "-"), " http://a/ ");
  EXPECT_EQ(file.ReadString("Evil", "x", "-"), "-");

  // A section that is not there yet is made; an empty one keeps its header.
  SettingsFile fresh(dir.File("fresh.ini"));
  fresh.ReplaceSection("KeyCode", {});
  ASSERT_FALSE(fresh.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File("fresh.ini")), "[KeyCode]\r\n");
}

// ---- refused writes ------------------------------------------------------------

TEST_F(SettingsRefusedWrite, MissingDirectoryIsReportedWithPathAndReason) {
  const std::string path = dir.File("no/such/dir/Sorvi.ini");
  SettingsFile file(path);
  AppOptions options;
  options.Editor = "vi";
  WriteAppOptions(file, options);
  const FileReport report = file.Commit();
  EXPECT_EQ(report.file, DataFile::kSettings);
  EXPECT_EQ(report.step, FileStep::kWriteFailed);
  EXPECT_EQ(report.error, ENOENT);
  EXPECT_EQ(report.path, path);
  EXPECT_EQ(file.ReadString("Option", "Editor", "Notepad"), "Notepad");
}

TEST_F(SettingsRefusedWrite, OldFileAndObjectStayAsTheyWere) {
  const std::string before = "[Window]\nTop=1\n[URL]\n1=a\nCount=1\n";
  SettingsFile file = Load(before);
  // The copy's name is taken by a directory, so even root cannot write it.
  fs::create_directory(dir.File() + ".___");

  file.WriteInteger("Window", "Top", 2);
  file.WriteInteger("Window", "Left", 3);
  file.EraseSection("URL");
  WriteUrlHistory(file, {"b"});
  EXPECT_EQ(file.Commit().step, FileStep::kWriteFailed);
  EXPECT_EQ(ReadRaw(dir.File()), before);
  EXPECT_EQ(file.ReadInteger("Window", "Top", 0), 1);
  EXPECT_EQ(file.ReadInteger("Window", "Left", 0), 0);
  EXPECT_EQ(ReadUrlHistory(file), std::vector<std::string>{"a"});
  EXPECT_FALSE(file.HasChanges());

  // Once the way is free, none of the refused changes turn up.
  fs::remove(dir.File() + ".___");
  file.WriteInteger("Window", "Height", 4);
  EXPECT_EQ(Saved(file), "[Window]\r\nTop=1\r\nHeight=4\r\n[URL]\r\n1=a\r\nCount=1\r\n");
}

// ---- unreadable file -----------------------------------------------------------

// A file that is there but cannot be read reads as defaults and is never
// written: a rewrite from memory would drop every section of it.
void ExpectEveryWriteRefused(SettingsFile& file) {
  const auto expect_refused = [&file](const char* what) {
    const FileReport report = file.Commit();
    EXPECT_EQ(report.step, FileStep::kOverwriteRefused) << what;
    EXPECT_EQ(report.path, file.path()) << what;
    EXPECT_EQ(file.ReadString("Option", "Editor", "Notepad"), "Notepad") << what;
  };
  file.WriteString("Option", "Editor", "vi");
  file.WriteInteger("Window", "Top", 1);
  file.WriteBool("Option", "AutoSave", false);
  expect_refused("writes");
  // Erasing a section nobody could see is a write too.
  file.EraseSection("URL");
  WriteUrlHistory(file, {"http://a/"});
  expect_refused("the history");
  WriteAppOptions(file, AppOptions{});
  expect_refused("the options");
  EXPECT_FALSE(fs::exists(file.path() + ".___"));
}

TEST_F(SettingsUnreadable, DirectoryOfThatNameGivesDefaultsAndIsNeverWritten) {
  fs::create_directory(dir.File());
  WriteRaw(dir.File("Sorvi.ini/inside"), "keep");
  SettingsFile file(dir.File());
  EXPECT_TRUE(file.Unreadable());
  EXPECT_EQ(file.ReadString("Option", "Editor", "Notepad"), "Notepad");
  EXPECT_EQ(file.ReadInteger("Option", "IntervalPaste", 300), 300);
  ExpectEveryWriteRefused(file);
  EXPECT_TRUE(fs::is_directory(dir.File()));
  EXPECT_EQ(ReadRaw(dir.File("Sorvi.ini/inside")), "keep");
}

TEST_F(SettingsUnreadable, FileWithoutReadPermissionKeepsEverySection) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files of any mode";
  const std::string before = "[Option]\r\nEditor=vi\r\n[KeyFunc]\r\nC1=1\r\n[URL]\r\n1=a\r\nCount=1\r\n";
  WriteRaw(dir.File(), before);
  fs::permissions(dir.File(), fs::perms::none);
  SettingsFile file(dir.File());
  EXPECT_TRUE(file.Unreadable());
  EXPECT_EQ(file.ReadString("Option", "Editor", "Notepad"), "Notepad");
  ExpectEveryWriteRefused(file);
  fs::permissions(dir.File(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadRaw(dir.File()), before);
}

TEST_F(SettingsUnreadable, ReadableFileAndDanglingLinkAreWritable) {
  WriteRaw(dir.File(), "[A]\r\nx=1\r\n");
  EXPECT_FALSE(SettingsFile(dir.File()).Unreadable());
  // A link to a file not made yet is a missing file: the first write makes it.
  fs::create_symlink("real.ini", dir.File("link.ini"));
  SettingsFile linked(dir.File("link.ini"));
  EXPECT_FALSE(linked.Unreadable());
  linked.WriteInteger("Window", "Top", 3);
  ASSERT_FALSE(linked.Commit().Failed());
  EXPECT_TRUE(fs::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(ReadRaw(dir.File("real.ini")), "[Window]\r\nTop=3\r\n");
}

// ---- where writes land ------------------------------------------------------------

TEST_F(SettingsWriteTarget, LinkedFileStaysALinkAndKeepsItsMode) {
  fs::create_directory(dir.File("data"));
  WriteRaw(dir.File("data/real.ini"), "[A]\r\nx=1\r\n");
  fs::permissions(dir.File("data/real.ini"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("data/real.ini", dir.File());
  SettingsFile file(dir.File());
  file.WriteString("A", "y", "2");
  file.EraseSection("Missing");
  file.WriteString("B", "z", "3");
  ASSERT_FALSE(file.Commit().Failed());
  ASSERT_TRUE(fs::is_symlink(dir.File()));
  EXPECT_EQ(fs::read_symlink(dir.File()), "data/real.ini");
  EXPECT_EQ(ReadRaw(dir.File("data/real.ini")), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  struct stat st = {};
  ASSERT_EQ(::stat(dir.File("data/real.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_FALSE(fs::exists(dir.File() + ".___"));
  EXPECT_FALSE(fs::exists(dir.File("data/real.ini.___")));
}

// ---- broken files --------------------------------------------------------------

TEST_F(SettingsBrokenFiles, NulEndsItsLineOnly) {
  const std::string before = "[A]\r\nx=ab\0cd\r\nz\0=3\r\n[B\0]\r\ny=2\r\n\0\0\r\n"s;
  SettingsFile file = Load(before);
  EXPECT_EQ(file.ReadString("A", "x", "-"), "ab");
  EXPECT_EQ(file.ReadString("A", "z", "-"), "-");
  EXPECT_EQ(file.ReadString("B", "y", "-"), "-");
  // "[B\0]" is no header, so y still belongs to A.
  EXPECT_EQ(file.ReadString("A", "y", "-"), "2");

  file.WriteString("A", "y", "5");
  EXPECT_EQ(Saved(file), "[A]\r\nx=ab\0cd\r\nz\0=3\r\n[B\0]\r\ny=5\r\n\0\0\r\n"s);
  file.WriteString("A", "x", "new");
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(SettingsFile(dir.File()).ReadString("A", "x", "-"), "new");
}

TEST_F(SettingsBrokenFiles, InvalidShiftJisPassesThrough) {
  const std::string odd = "\xFF\xFD\x81\x20\xA0\x80\x82";  // ends on a lone first byte
  SettingsFile file = Load("[S]\r\nv=" + odd + "\r\n" + odd + "\r\n");
  EXPECT_EQ(file.ReadString("S", "v", ""), odd);
  file.WriteString("S", "w", odd);
  file.WriteString("S\xFF", "k\x82", odd);
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()),
            "[S]\r\nv=" + odd + "\r\n" + odd + "\r\nw=" + odd + "\r\n[S\xFF]\r\nk\x82=" + odd + "\r\n");
  EXPECT_EQ(SettingsFile(dir.File()).ReadString("s\xFF", "K\x82", ""), odd);
}

TEST_F(SettingsBrokenFiles, HundredKilobyteLines) {
  const std::string junk(100 * 1024, 'j');
  const std::string value(100 * 1024, 'v');
  const std::string key(100 * 1024, 'k');
  const std::string before = "[S]\r\n" + junk + "\r\nlong=" + value + "\r\n" + key + "=1\r\n";
  SettingsFile file = Load(before);
  EXPECT_EQ(file.ReadString("S", "long", ""), value.substr(0, kMaxSettingsValueBytes));
  EXPECT_EQ(file.ReadInteger("S", key, 0), 1);
  file.WriteInteger("S", "n", 1);
  EXPECT_EQ(Saved(file), before + "n=1\r\n");
}

TEST_F(SettingsBrokenFiles, TenMegabyteFile) {
  std::string before;
  for (int i = 0; before.size() < 10 * 1024 * 1024; ++i) {
    before += "[Sec" + std::to_string(i) + "]\r\n";
    for (int k = 0; k < 20; ++k) before += "Key" + std::to_string(k) + "=some value here\r\n";
  }
  before += "[Option]\r\nIntervalPaste=700\r\n";
  SettingsFile file = Load(before);
  EXPECT_EQ(file.ReadInteger("Option", "IntervalPaste", 0), 700);
  EXPECT_EQ(file.ReadString("Sec1000", "Key19", ""), "some value here");
  file.WriteInteger("Option", "IntervalDefault", 200);
  EXPECT_EQ(Saved(file), before + "IntervalDefault=200\r\n");
}

TEST_F(SettingsBrokenFiles, RandomBytesNeverBreakReadingOrWriting) {
  std::mt19937 random(1234);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  noise += "\r\n[S]\r\nk=found\r\n";
  SettingsFile file = Load(noise);
  EXPECT_EQ(file.ReadString("S", "k", ""), "found");
  file.WriteString("New", "key", "value");
  ASSERT_FALSE(file.Commit().Failed());
  const SettingsFile fresh(dir.File());
  EXPECT_EQ(fresh.ReadString("New", "key", ""), "value");
  EXPECT_EQ(fresh.ReadString("S", "k", ""), "found");
}

}  // namespace
}  // namespace sorvi

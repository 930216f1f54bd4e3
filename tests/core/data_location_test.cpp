#include <gtest/gtest.h>

#include <set>

#include "core/files/data_location.h"

namespace sorvi {
namespace {

const std::string kBin = "/opt/sorvi/bin";
const std::string kTemplates = "/opt/sorvi/share/sorvi";
const std::string kUser = "/home/u/.local/share/Sorvi";

// One situation: what the program's and the user's directories allow.
struct Case {
  const char* what;
  bool bin_writable, bin_has_data, installed, user_makeable, user_has_data;
  DataPlace place;
  std::string dir, seed_from;
};

TEST(DataLocation, EachSituationPicksOneDirectoryAndWhereToFillItFrom) {
  using P = DataPlace;
  const Case cases[] = {
      {"build directory or portable copy", true, false, false, true, false, P::kBesideProgram, kBin, ""},
      {"old files beside an installed copy", true, true, true, true, false, P::kBesideProgram, kBin, ""},
      {"installed, root could write the prefix", true, false, true, true, false, P::kUserDir, kUser, kTemplates},
      {"installed, read-only prefix", false, false, true, true, false, P::kUserDir, kUser, kTemplates},
      {"old files beside a read-only copy", false, true, true, true, false, P::kUserDir, kUser, kBin},
      {"portable copy on a read-only medium", false, false, false, true, false, P::kUserDir, kUser, kBin},
      {"nowhere to write: the samples at least", false, false, true, false, false, P::kReadOnly, kTemplates, ""},
      {"nowhere to write: the old files", false, true, true, false, false, P::kReadOnly, kBin, ""},
      {"nowhere to write: the user's own lists", false, true, true, false, true, P::kReadOnly, kUser, ""},
  };
  for (const Case& c : cases) {
    std::set<std::string> writable, with_data, made;
    if (c.bin_writable) writable.insert(kBin);
    if (c.bin_has_data) with_data.insert(kBin);
    if (c.user_has_data) with_data.insert(kUser);
    DirectoryProbe probe{[&](const std::string& d) { return writable.count(d) > 0; },
                         [&](const std::string& d) { return with_data.count(d) > 0; },
                         [&](const std::string& d) {
                           if (!c.user_makeable) return false;
                           made.insert(d);
                           writable.insert(d);
                           return true;
                         }};
    const DataLocation at = ChooseDataLocation(kBin, c.installed ? kTemplates : "", kUser, probe);
    EXPECT_EQ(at.place, c.place) << c.what;
    EXPECT_EQ(at.dir, c.dir) << c.what;
    EXPECT_EQ(at.seed_from, c.seed_from) << c.what;
    // The user's home gets no stray directory when the data stays beside the program.
    EXPECT_EQ(made.count(kUser) > 0, c.place == P::kUserDir) << c.what;
  }
}

TEST(DataLocation, NoHomeDirectoryKeepsTheDataWhereItIs) {
  DirectoryProbe none{[](const std::string&) { return false; }, [](const std::string&) { return false; },
                      [](const std::string&) { return false; }};
  const DataLocation at = ChooseDataLocation(kBin, "", "", none);
  EXPECT_EQ(at.place, DataPlace::kReadOnly);
  EXPECT_EQ(at.dir, kBin);
}

}  // namespace
}  // namespace sorvi

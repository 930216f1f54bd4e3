#include <gtest/gtest.h>

#include <set>

#include "core/files/data_location.h"

namespace sorvi {
namespace {

// A pretend file system: which directories exist, can be written, hold data,
// and whether new ones can be made.
struct FakeDirs {
  std::set<std::string> existing, writable, with_data;
  bool can_make = true;
  std::set<std::string> made;

  DirectoryProbe Probe() {
    return {[this](const std::string& d) { return existing.count(d) && writable.count(d); },
            [this](const std::string& d) { return with_data.count(d) > 0; },
            [this](const std::string& d) {
              if (existing.count(d)) return true;
              if (!can_make) return false;
              existing.insert(d);
              writable.insert(d);
              made.insert(d);
              return true;
            }};
  }
};

const std::string kBuild = "/home/u/sorvi/build";
const std::string kBin = "/usr/bin";
const std::string kTemplates = "/usr/share/sorvi";
const std::string kUser = "/home/u/.local/share/Sorvi";

TEST(DataLocation, APortableCopyOrBuildKeepsEverythingBesideItself) {
  FakeDirs fs;
  fs.existing = fs.writable = {kBuild};
  DataLocation at = ChooseDataLocation(kBuild, "", kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kBesideProgram);
  EXPECT_EQ(at.dir, kBuild);
  EXPECT_EQ(at.seed_from, "");
  EXPECT_TRUE(fs.made.empty());  // no stray directory in the user's home

  // An old user's files beside an installed copy stay in use.
  fs.existing = fs.writable = fs.with_data = {kBin};
  at = ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kBesideProgram);
  EXPECT_EQ(at.dir, kBin);
}

TEST(DataLocation, AnInstalledCopyUsesTheUsersDirectoryEvenWhereRootCouldWriteItsPrefix) {
  for (bool bin_writable : {false, true}) {
    FakeDirs fs;
    fs.existing = {kBin, kTemplates};
    if (bin_writable) fs.writable = {kBin};
    DataLocation at = ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe());
    EXPECT_EQ(at.place, DataPlace::kUserDir) << bin_writable;
    EXPECT_EQ(at.dir, kUser);
    EXPECT_EQ(at.seed_from, kTemplates);
    EXPECT_EQ(fs.made, std::set<std::string>{kUser});
  }
}

TEST(DataLocation, ACopyThatCannotWriteBesideItselfFillsTheUsersDirectoryFromItsOwnFiles) {
  // Old lists beside a read-only installed copy come along, not the samples.
  FakeDirs fs;
  fs.existing = {kBin, kTemplates};
  fs.with_data = {kBin};
  DataLocation at = ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kUserDir);
  EXPECT_EQ(at.seed_from, kBin);

  // A portable copy on a read-only medium brings its own help and samples.
  const std::string medium = "/media/cd/sorvi";
  fs = FakeDirs{};
  fs.existing = {medium};
  at = ChooseDataLocation(medium, "", kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kUserDir);
  EXPECT_EQ(at.dir, kUser);
  EXPECT_EQ(at.seed_from, medium);
}

TEST(DataLocation, NowhereToWriteReadsTheNewestDataThereIs) {
  FakeDirs fs;
  fs.can_make = false;
  fs.existing = {kBin, kTemplates};
  DataLocation at = ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kReadOnly);
  EXPECT_EQ(at.dir, kTemplates);  // the samples at least
  EXPECT_EQ(at.seed_from, "");

  fs.with_data = {kBin};
  EXPECT_EQ(ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe()).dir, kBin);

  // The user's directory exists but went read-only: their lists, not the old ones.
  fs.existing.insert(kUser);
  fs.with_data.insert(kUser);
  at = ChooseDataLocation(kBin, kTemplates, kUser, fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kReadOnly);
  EXPECT_EQ(at.dir, kUser);

  // No home at all (an empty user directory name).
  fs = FakeDirs{};
  fs.existing = {kBuild};
  at = ChooseDataLocation(kBuild, "", "", fs.Probe());
  EXPECT_EQ(at.place, DataPlace::kReadOnly);
  EXPECT_EQ(at.dir, kBuild);
}

}  // namespace
}  // namespace sorvi

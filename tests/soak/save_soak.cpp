// Crash-safety soak: a child process saves the stock code list and the
// settings file in a loop, alternating between two versions, and is killed
// with SIGKILL at random moments. After every kill each file must be exactly
// one of the two versions (or still missing, when it was missing before),
// and the start-up's leftover-copy rule must leave one of them and no copy.
//
//   save_soak [kills] [seed]     (default 300 kills, a seed from the clock)
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "core/files/data_files.h"
#include "core/files/file_io.h"
#include "soak_saves.h"

namespace fs = std::filesystem;
using namespace sorvi;
using Clock = std::chrono::steady_clock;

namespace {

struct Versions {
  std::string bytes[2];
};

// What a file holds, as the checks see it.
enum class Held { kFirst, kSecond, kMissing, kOther };

Held Classify(const std::string& path, const Versions& versions) {
  const FileReadResult read = ReadFile(path);
  if (read.status == ReadStatus::kMissing) return Held::kMissing;
  if (read.status != ReadStatus::kRead) return Held::kOther;
  if (read.bytes == versions.bytes[0]) return Held::kFirst;
  if (read.bytes == versions.bytes[1]) return Held::kSecond;
  return Held::kOther;
}

const char* Describe(Held held) {
  switch (held) {
    case Held::kFirst: return "version 0";
    case Held::kSecond: return "version 1";
    case Held::kMissing: return "missing";
    case Held::kOther: return "neither version";
  }
  return "?";
}

// One file of the soak: its two versions and what the kills found.
struct SoakFile {
  std::string path;
  Versions versions;
  int held[4] = {};           // after each kill, by Held
  int copies_at_kill = 0;     // a ".___" copy was on disk
  int copies_taken_over = 0;  // the file was missing and the copy became it
  // What the last kill left.
  Held before = Held::kMissing, copy_before = Held::kMissing;

  Held Now() const { return Classify(path, versions); }
  Held Copy() const { return Classify(path + kReplaceSuffix, versions); }

  // What a kill left: empty when it is sound, else what is wrong.
  std::string AfterKill(bool missing_allowed) {
    before = Now();
    copy_before = Copy();
    ++held[int(before)];
    if (copy_before != Held::kMissing) ++copies_at_kill;
    if (before == Held::kOther || (before == Held::kMissing && !missing_allowed))
      return std::string("after the kill the file is ") + Describe(before);
    // The one case where the start-up takes the copy over: it must be whole.
    if (before == Held::kMissing && copy_before == Held::kOther)
      return "the file is missing and its copy is neither version";
    return {};
  }

  // What the start-up's recovery made of it.
  std::string AfterRecovery() {
    if (fs::exists(fs::symlink_status(path + kReplaceSuffix))) return "a copy is left after the start-up";
    const Held after = Now();
    if (before == Held::kMissing && copy_before != Held::kMissing) {
      ++copies_taken_over;
      if (after != copy_before) return "the start-up did not take the copy over";
    } else if (after != before) {
      return std::string("the start-up changed the file to ") + Describe(after);
    }
    return {};
  }
};

[[noreturn]] void SaveForever(const std::string& dir, const std::string& first_list) {
  // Nothing of a save may land in the temporary directory: keep what a kill
  // would leave there in sight.
  ::setenv("TMPDIR", (dir + "tmp").c_str(), 1);
  int version = ReadWholeFile(dir + kCodeListFileName) == first_list ? 1 : 0;
  for (;;) {
    if (!soak::SaveCodeList(dir, version)) ::_exit(3);
    if (!soak::SaveSettings(dir, version)) ::_exit(4);
    version ^= 1;
  }
}

void SleepMicroseconds(long us) {
  timespec t{us / 1000000, (us % 1000000) * 1000};
  while (::clock_nanosleep(CLOCK_MONOTONIC, 0, &t, &t) == EINTR) {
  }
}

long MicrosecondsSince(Clock::time_point start) {
  return long(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
}

// Counts and removes what the saves left in the temporary directory.
int RemoveStaging(const std::string& tmp) {
  int left = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(tmp, ec)) {
    ++left;
    fs::remove_all(entry.path(), ec);
  }
  return left;
}

void PrintTally(const char* name, const SoakFile& t) {
  std::printf(
      "  %-12s version 0: %d, version 1: %d, missing: %d, neither: %d; copy on disk at the kill: %d, "
      "taken over at start-up: %d\n",
      name, t.held[0], t.held[1], t.held[2], t.held[3], t.copies_at_kill, t.copies_taken_over);
}

}  // namespace

int main(int argc, char* argv[]) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 300;
  const unsigned seed =
      argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : unsigned(Clock::now().time_since_epoch().count());
  if (kills <= 0) {
    std::fprintf(stderr, "usage: save_soak [kills] [seed]\n");
    return 2;
  }
  // Beside the program, on the file system its data files live on.
  std::string pattern = (fs::absolute(fs::path(argv[0])).parent_path() / "save_soak.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::string dir = pattern + "/";
  fs::create_directory(dir + "tmp");
  ::setenv("TMPDIR", (dir + "tmp").c_str(), 1);
  SoakFile list, ini;
  list.path = dir + kCodeListFileName;
  ini.path = dir + kSettingsFileName;

  // The two versions of each file, as the saves write them; a second pass
  // shows they come out the same every time.
  const auto start_saves = Clock::now();
  for (int pass = 0; pass < 2; ++pass) {
    for (int version = 0; version < 2; ++version) {
      if (!soak::SaveCodeList(dir, version) || !soak::SaveSettings(dir, version)) {
        std::fprintf(stderr, "a save was refused in %s\n", dir.c_str());
        return 2;
      }
      for (SoakFile* file : {&list, &ini}) {
        const std::string bytes = ReadWholeFile(file->path).value_or("");
        if (pass == 1 && bytes != file->versions.bytes[version]) {
          std::fprintf(stderr, "%s: version %d is not saved the same way twice\n", file->path.c_str(), version);
          return 2;
        }
        file->versions.bytes[version] = bytes;
      }
    }
  }
  // Each pass wrote both versions of both files: one save cycle.
  const long cycle_us = MicrosecondsSince(start_saves) / 2;
  const auto list_start = Clock::now();
  soak::SaveCodeList(dir, 1);
  const long list_save_us = MicrosecondsSince(list_start);
  std::printf("save_soak: %d kills, seed %u, in %s\n", kills, seed, dir.c_str());
  std::printf("  list versions %zu and %zu bytes, settings versions %zu and %zu bytes\n", list.versions.bytes[0].size(),
              list.versions.bytes[1].size(), ini.versions.bytes[0].size(), ini.versions.bytes[1].size());
  std::printf("  one save cycle (both versions of both files) %.1f ms, one list save %.1f ms\n", cycle_us / 1000.0,
              list_save_us / 1000.0);

  std::mt19937 random(seed);
  const auto start = Clock::now();
  int survived = 0, staging_left = 0;
  std::string failure;
  for (int round = 0; round < kills && failure.empty(); ++round) {
    // Now and then both files are gone before the saves start: the first
    // save of a file has no old version to fall back on.
    const bool from_nothing = round % 10 == 9;
    if (from_nothing) {
      fs::remove(list.path);
      fs::remove(ini.path);
    }
    const bool list_missing = !fs::exists(list.path), ini_missing = !fs::exists(ini.path);
    // Inside the first save when starting from nothing, anywhere in the
    // next few cycles otherwise.
    const long delay_us = std::uniform_int_distribution<long>(0, from_nothing ? list_save_us : 3 * cycle_us)(random);

    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
      std::perror("fork");
      return 2;
    }
    if (child == 0) SaveForever(dir, list.versions.bytes[0]);
    SleepMicroseconds(delay_us);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string where = "round " + std::to_string(round) + ": ";
    if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
      failure = where + "the saving process ended by itself (status " + std::to_string(status) + ")";
      break;
    }
    std::string wrong;
    for (auto [file, missing] : {std::pair{&list, list_missing}, std::pair{&ini, ini_missing}}) {
      if (wrong.empty() && !(wrong = file->AfterKill(missing)).empty()) wrong = file->path + ": " + wrong;
    }
    if (wrong.empty()) {
      RecoverDataFiles(dir);
      for (SoakFile* file : {&list, &ini}) {
        if (wrong.empty() && !(wrong = file->AfterRecovery()).empty()) wrong = file->path + ": " + wrong;
      }
    }
    if (!wrong.empty()) {
      failure = where + wrong;
      break;
    }
    if (const int left = RemoveStaging(dir + "tmp"); left > 0) {
      staging_left += left;
      failure = where + std::to_string(left) + " files left in the temporary directory";
      break;
    }
    ++survived;
  }
  const double seconds = MicrosecondsSince(start) / 1e6;

  std::printf("  %d of %d kills survived in %.1f s\n", survived, kills, seconds);
  PrintTally(kCodeListFileName, list);
  PrintTally(kSettingsFileName, ini);
  std::printf("  files left in the temporary directory by kills: %d\n", staging_left);
  if (!failure.empty()) {
    std::printf("FAILED: %s (files kept in %s)\n", failure.c_str(), dir.c_str());
    return 1;
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}

#pragma once
// Where the lists, the settings and the web data live. The rule is decided
// here, once, from what a probe says about the directories; the caller does
// the creating and copying.
#include <functional>
#include <string>

namespace sorvi {

// What the rule asks about a directory.
struct DirectoryProbe {
  // An existing directory this user can create files in.
  std::function<bool(const std::string& dir)> writable;
  // Holds a list or the settings (SV_Code.txt, SV_List.txt, Sorvi.ini).
  std::function<bool(const std::string& dir)> has_data;
  // Creates the directory with its parents; true when it exists afterwards.
  std::function<bool(const std::string& dir)> make;
};

enum class DataPlace {
  kBesideProgram,  // a portable copy or the build directory
  kUserDir,        // an installed copy: the user's own directory
  kReadOnly,       // nowhere to write: read what there is, save nothing
};

struct DataLocation {
  DataPlace place = DataPlace::kBesideProgram;
  std::string dir;        // where the data files are read (and written)
  std::string seed_from;  // where missing lists come from; empty: nowhere
};

// `program_dir` holds the executable; `templates_dir` the installed sample
// lists and help page, empty when the program is not an installed copy;
// `user_dir` the user's own data directory. Directories carry no trailing "/".
//
// Data already beside the program stays there while it can be written. A
// copy that is not installed keeps everything beside itself when it can. An
// installed copy never writes into its prefix (root could, into /usr/bin),
// so it uses the user's directory, as does a copy on a medium it cannot
// write; that is filled from beside the program when there is data there or
// the copy is not installed, else from the templates.
DataLocation ChooseDataLocation(const std::string& program_dir, const std::string& templates_dir,
                                const std::string& user_dir, const DirectoryProbe& probe);

}  // namespace sorvi

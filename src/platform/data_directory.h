#pragma once
// The directory of the lists, the settings, the help page and the web data,
// decided once at start-up; everything else is handed the result.
#include <QString>

namespace sorvi {

struct DataDirectory {
  QString dir;             // with a trailing "/"
  bool read_only = false;  // nowhere to write: changes cannot be saved
  QString problem;         // what the user should be told, in Japanese; empty when all is well
};

// `program_dir` holds the executable; an installed copy finds its sample
// lists and help page in `program_dir`/../share/sorvi. `user_dir` is the
// user's own data directory (QStandardPaths::AppDataLocation). The user's
// directory is created when chosen, missing lists and settings are copied in
// (a list already there is never replaced) and the help page is brought up
// to date.
DataDirectory PrepareDataDirectory(const QString& program_dir, const QString& user_dir);

}  // namespace sorvi

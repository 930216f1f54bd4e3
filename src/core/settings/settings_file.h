#pragma once
// Sorvi.ini with the rules of the Windows private-profile functions:
// Shift-JIS text, "[Section]" lines opening sections, "key=value" lines,
// names matched without regard to ASCII letter case.
//
// The file is read once when the object is made; reads are served from the
// lines held in memory. Writes change those lines only, and Commit() puts
// everything written since the last commit into the file as one change
// (written beside it, flushed, renamed over it), so one user action costs
// one write however many keys it touches. Lines the program does not know
// are kept as they are and written back byte for byte (only their line ends
// become CR LF).
//
// A NUL byte ends the text of its line: the rest of that line is ignored for
// reading, but the line itself is kept and later lines are read as usual.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/files/file_report.h"

namespace sorvi {

// A read returns at most this many bytes of a value (never half of a
// double-byte character).
inline constexpr size_t kMaxSettingsValueBytes = 2047;

// One key and its value, for writing a whole section.
struct SettingsValue {
  std::string key;
  std::string value;
};

class SettingsFile {
 public:
  // Reads and parses the file; a missing file reads as empty. A file that is
  // there but cannot be read also reads as empty (every read gives its
  // default), but is never written: rewriting it from what little is known
  // would lose every section nobody could read.
  explicit SettingsFile(std::string path);

  const std::string& path() const { return path_; }

  // True when the file exists but could not be read; every commit is then
  // refused and leaves the file alone.
  bool Unreadable() const { return unreadable_; }

  // Something was written or erased since the last commit.
  bool HasChanges() const { return changed_; }

  // Writes the whole file once, with every change since the last commit,
  // beside itself and renamed over it (links followed, the file's mode
  // kept; a new file is readable by its owner only). Nothing to commit
  // writes nothing. The report is done when written or nothing was due; a
  // refused commit's report says why (the window words it), the file stays
  // as it was and so does the object: the changes are dropped, and reads
  // again give what the file holds.
  [[nodiscard]] FileReport Commit();

  // Drops the changes since the last commit.
  void DiscardChanges();

  // The value of the first matching key in the first matching section, less
  // leading and trailing blanks and one pair of enclosing quotes, cut at
  // kMaxSettingsValueBytes. A missing section or key gives `def`; a key with
  // an empty value gives "".
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

  // "0x", "0X" or "$" introduce up to 32 bits of hexadecimal, which are taken
  // as a two's complement pattern (0xFFFFFFFF reads as -1); anything else is
  // decimal with an optional sign and must lie within 32 bits. Text that is
  // not entirely a number ("12abc", "", "0x", "-0x1") gives `def`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;

  // Read as an integer with default 0 or 1; true when not 0.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // An existing key keeps its spelling and place and gets the new value; a
  // new key goes after the last non-blank line of its section; a new section
  // is added at the end of the file. A value is cut at its first CR, LF or
  // NUL, which could not be read back; a value with blanks at an end or in
  // enclosing quotes is written inside double quotes, so that it reads back
  // as it was. Reaches the file at the next Commit().
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Removes every section of that name with all its lines. Nothing changes
  // when there is no such section.
  void EraseSection(std::string_view section);

  // Erases the section and adds it anew at the end of the file with
  // `values` in order (each written as WriteString would).
  void ReplaceSection(std::string_view section, const std::vector<SettingsValue>& values);

 private:
  struct SectionRange {
    size_t section;  // position in section_headers_
    size_t header;   // index of the "[Section]" line
    size_t end;      // one past its last line
  };

  // The index below, rebuilt when a change moved lines.
  void EnsureIndexed() const;
  // First section of that name; false when there is none.
  bool FindSection(std::string_view section, SectionRange* range) const;
  // Index of the first line of the range holding `key`, or npos.
  size_t FindKey(const SectionRange& range, std::string_view key) const;
  // The key's value, trimmed and unquoted but not cut; false when missing.
  bool FindValue(std::string_view section, std::string_view key, std::string_view* value) const;

  void IndexSections() const;

  std::string path_;
  bool unreadable_ = false;
  bool changed_ = false;
  std::string on_disk_;             // what the file held at load or the last commit
  std::vector<std::string> lines_;  // without their line ends
  // Names in SjisFoldCase form, so that a file with many keys reads fast:
  // the first section of each name (position in section_headers_) and, per
  // section, the line of the first key of each name as an offset from the
  // section's header. Kept up by every change (a close touching a few keys
  // of a file of 100,000 sections indexes nothing anew); stale only after a
  // line was written that reads otherwise than meant, or after the changes
  // were dropped, and then rebuilt at the next look-up.
  mutable bool index_stale_ = true;
  mutable std::vector<size_t> section_headers_;  // indices of the "[...]" lines
  mutable std::unordered_map<std::string, size_t> first_section_;
  mutable std::vector<std::unordered_map<std::string, size_t>> first_key_;
};

}  // namespace sorvi

#include "core/settings/settings_file.h"

#include <optional>
#include <span>
#include <utility>

#include "core/files/file_io.h"
#include "core/text/sjis.h"

namespace sorvi {

namespace {

// The settings hold the address history: a new file is the user's alone.
constexpr unsigned kNewSettingsFileMode = 0600;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The part of a line that counts for reading: it ends at a NUL byte.
std::string_view LineText(std::string_view line) { return line.substr(0, line.find('\0')); }

// Name of the section a "[...]" line opens. The closing bracket is the last
// one that is not the second byte of a double-byte character.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view text = TrimBlanks(LineText(line));
  if (text.empty() || text[0] != '[') return std::nullopt;
  size_t close = std::string_view::npos;
  for (size_t i = 1; i < text.size(); ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == ']') {
      close = i;
    }
  }
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(text.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;  // as written, up to the end of the line's text
};

// '=' lies below the range of second bytes, so a plain search is safe.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view text = LineText(line);
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(text.substr(0, equals)), text.substr(equals + 1)};
}

std::string_view Unquote(std::string_view value) {
  value = TrimBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : INT32_MAX;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return ParseHex(text.substr(2));
  if (text.starts_with("$")) return ParseHex(text.substr(1));
  return ParseDecimal(text);
}

void AppendLines(std::span<const std::string> lines, std::string* out) {
  for (const std::string& line : lines) {
    out->append(line);
    out->append("\r\n");
  }
}

size_t TotalSize(std::span<const std::string> lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  return size;
}

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

// The text to write after "key=" so that a read gives `value` back: a value
// whose blanks at either end or enclosing quotes the read would take off
// goes inside one more pair of double quotes, which the read removes.
std::string StoredValue(std::string_view value) {
  const bool loses_ends = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  if (!loses_ends && Unquote(value).size() == value.size()) return std::string(value);
  std::string quoted = "\"";
  quoted.append(value).append("\"");
  return quoted;
}

std::string HeaderLine(std::string_view section) {
  std::string line = "[";
  line.append(section).append("]");
  return line;
}

// The value is cut at a line end or NUL, which could not be read back.
std::string KeyValueLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line.append("=").append(StoredValue(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)))));
  return line;
}

// Whether a line written for `key` (or `section`) is read back as that and
// nothing else; only then can the index be kept up without a rebuild.
bool ReadsAsKey(std::string_view line, std::string_view key) {
  if (SectionName(line)) return false;
  const std::optional<KeyLine> parsed = ParseKeyLine(line);
  return parsed && SjisEqualsIgnoringCase(parsed->key, key);
}

bool ReadsAsSection(std::string_view line, std::string_view section) {
  const std::optional<std::string_view> name = SectionName(line);
  return name && SjisEqualsIgnoringCase(*name, section);
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {
  FileReadResult read = ReadFile(path_);
  unreadable_ = read.status == ReadStatus::kUnreadable;
  if (read.status == ReadStatus::kRead) {
    lines_ = SplitLines(read.bytes, NulByte::kKeptInLine);
    on_disk_ = std::move(read.bytes);
  }
}

void SettingsFile::EnsureIndexed() const {
  if (index_stale_) IndexSections();
}

void SettingsFile::IndexSections() const {
  section_headers_.clear();
  first_section_.clear();
  first_key_.clear();
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<std::string_view> name = SectionName(lines_[i])) {
      first_section_.try_emplace(SjisFoldCase(*name), section_headers_.size());
      section_headers_.push_back(i);
      first_key_.emplace_back();
    } else if (!section_headers_.empty()) {
      if (const std::optional<KeyLine> line = ParseKeyLine(lines_[i]))
        first_key_.back().try_emplace(SjisFoldCase(line->key), i - section_headers_.back());
    }
  }
  index_stale_ = false;
}

bool SettingsFile::FindSection(std::string_view section, SectionRange* range) const {
  EnsureIndexed();
  const auto found = first_section_.find(SjisFoldCase(section));
  if (found == first_section_.end()) return false;
  const size_t s = found->second;
  range->section = s;
  range->header = section_headers_[s];
  range->end = s + 1 < section_headers_.size() ? section_headers_[s + 1] : lines_.size();
  return true;
}

size_t SettingsFile::FindKey(const SectionRange& range, std::string_view key) const {
  const auto& keys = first_key_[range.section];
  const auto found = keys.find(SjisFoldCase(key));
  return found == keys.end() ? std::string::npos : range.header + found->second;
}

bool SettingsFile::FindValue(std::string_view section, std::string_view key, std::string_view* value) const {
  SectionRange range;
  if (!FindSection(section, &range)) return false;
  const size_t index = FindKey(range, key);
  if (index == std::string::npos) return false;
  *value = Unquote(ParseKeyLine(lines_[index])->value);
  return true;
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  std::string_view value;
  if (!FindValue(section, key, &value)) return std::string(def);
  return std::string(SjisPrefix(value, kMaxSettingsValueBytes));
}

int32_t SettingsFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  std::string_view value;
  if (!FindValue(section, key, &value)) return def;
  return ParseInteger(value).value_or(def);
}

bool SettingsFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void SettingsFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  changed_ = true;
  SectionRange range;
  if (!FindSection(section, &range)) {
    std::string header = HeaderLine(section);
    std::string line = KeyValueLine(key, value);
    // Appended lines move no other line: the index only grows.
    if (ReadsAsSection(header, section) && ReadsAsKey(line, key)) {
      section_headers_.push_back(lines_.size());
      first_section_.try_emplace(SjisFoldCase(section), section_headers_.size() - 1);
      first_key_.push_back({{SjisFoldCase(key), 1}});
    } else {
      index_stale_ = true;
    }
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
    return;
  }
  const size_t index = FindKey(range, key);
  if (index != std::string::npos) {
    const std::string_view spelling = ParseKeyLine(lines_[index])->key;
    std::string line = KeyValueLine(spelling, value);
    // The same key on the same line leaves the index as it is.
    if (!ReadsAsKey(line, key)) index_stale_ = true;
    lines_[index] = std::move(line);
    return;
  }
  // Blank lines closing the section stay between it and the next one.
  size_t pos = range.end;
  while (pos > range.header + 1 && IsBlankLine(lines_[pos - 1])) --pos;
  std::string line = KeyValueLine(key, value);
  if (ReadsAsKey(line, key)) {
    // Keys sit at offsets from their header, so only the later sections'
    // headers move: the window's close adding keys to a section near the
    // top of a big file costs no rebuild.
    for (size_t s = range.section + 1; s < section_headers_.size(); ++s) ++section_headers_[s];
    for (auto& entry : first_key_[range.section])
      if (range.header + entry.second >= pos) ++entry.second;
    first_key_[range.section].try_emplace(SjisFoldCase(key), pos - range.header);
  } else {
    index_stale_ = true;
  }
  lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(pos), std::move(line));
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::ReplaceSection(std::string_view section, const std::vector<SettingsValue>& values) {
  EraseSection(section);
  changed_ = true;
  const size_t header = lines_.size();
  lines_.push_back(HeaderLine(section));
  bool indexed = ReadsAsSection(lines_.back(), section);
  std::unordered_map<std::string, size_t> keys;
  for (const SettingsValue& v : values) {
    lines_.push_back(KeyValueLine(v.key, v.value));
    if (!ReadsAsKey(lines_.back(), v.key)) indexed = false;
    if (indexed) keys.try_emplace(SjisFoldCase(v.key), lines_.size() - 1 - header);
  }
  if (!indexed) {
    index_stale_ = true;
    return;
  }
  first_section_.try_emplace(SjisFoldCase(section), section_headers_.size());
  section_headers_.push_back(header);
  first_key_.push_back(std::move(keys));
}

void SettingsFile::EraseSection(std::string_view section) {
  EnsureIndexed();
  const auto named = first_section_.find(SjisFoldCase(section));
  if (named == first_section_.end()) return;
  first_section_.erase(named);
  // Every section of the name goes: a later duplicate left behind would turn
  // into the section that reads and writes find. The index follows the
  // lines that stay, so a big file is not indexed anew.
  std::vector<size_t> headers;
  std::vector<std::unordered_map<std::string, size_t>> keys;
  std::vector<size_t> position(section_headers_.size(), std::string::npos);
  headers.reserve(section_headers_.size());
  keys.reserve(section_headers_.size());
  size_t kept = section_headers_[0];  // lines before the first section stay
  for (size_t s = 0; s < section_headers_.size(); ++s) {
    const size_t begin = section_headers_[s];
    const size_t end = s + 1 < section_headers_.size() ? section_headers_[s + 1] : lines_.size();
    if (SjisEqualsIgnoringCase(*SectionName(lines_[begin]), section)) continue;
    position[s] = headers.size();
    headers.push_back(kept);
    keys.push_back(std::move(first_key_[s]));
    for (size_t i = begin; i < end; ++i, ++kept)
      if (kept != i) lines_[kept] = std::move(lines_[i]);
  }
  lines_.resize(kept);
  for (auto& entry : first_section_) entry.second = position[entry.second];
  section_headers_ = std::move(headers);
  first_key_ = std::move(keys);
  changed_ = true;
}

FileReport SettingsFile::Commit() {
  FileReport report{.file = DataFile::kSettings, .path = path_};
  if (!changed_) return report;
  if (unreadable_) {
    DiscardChanges();
    report.step = FileStep::kOverwriteRefused;
    return report;
  }
  std::string bytes;
  bytes.reserve(TotalSize(lines_));
  AppendLines(lines_, &bytes);
  int error = 0;
  if (!ReplaceFileContents(path_, bytes, &error, kNewSettingsFileMode)) {
    DiscardChanges();
    report.step = FileStep::kWriteFailed;
    report.error = error;
    return report;
  }
  on_disk_ = std::move(bytes);
  changed_ = false;
  return report;
}

void SettingsFile::DiscardChanges() {
  if (!changed_) return;
  lines_ = SplitLines(on_disk_, NulByte::kKeptInLine);
  index_stale_ = true;
  changed_ = false;
}

}  // namespace sorvi

#include "core/settings/internet_settings.h"

#include <vector>

namespace sorvi {
namespace {

constexpr const char* kSection = "Internet";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsLanguageTag(std::string_view tag) {
  if (tag.empty()) return false;
  size_t part = 0;
  for (size_t i = 0; i <= tag.size(); ++i) {
    if (i == tag.size() || tag[i] == '-') {
      if (part == 0 || part > 8) return false;
      part = 0;
    } else if (IsAsciiAlnum(tag[i])) {
      ++part;
    } else {
      return false;
    }
  }
  return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

InternetSettings ReadInternetSettings(const SettingsFile& file) {
  InternetSettings s;
  const int32_t mode = file.ReadInteger(kSection, "Proxy", 0);
  if (mode == static_cast<int32_t>(ProxyMode::kNone)) s.proxy = ProxyMode::kNone;
  if (mode == static_cast<int32_t>(ProxyMode::kManual)) {
    HostPort hp{file.ReadString(kSection, "ProxyHost", ""), file.ReadInteger(kSection, "ProxyPort", 0)};
    // Read back through the parser so that a hand-edited file cannot hand
    // the engine a proxy it would reject.
    if (auto parsed = ParseHostPort(FormatHostPort(hp))) {
      s.proxy = ProxyMode::kManual;
      s.proxy_host = parsed->host;
      s.proxy_port = parsed->port;
    }
  }
  s.languages = NormalizeLanguages(file.ReadString(kSection, "Languages", "")).value_or("");
  return s;
}

void WriteInternetSettings(SettingsFile& file, const InternetSettings& s) {
  file.WriteInteger(kSection, "Proxy", static_cast<int32_t>(s.proxy));
  file.WriteString(kSection, "ProxyHost", s.proxy_host);
  file.WriteInteger(kSection, "ProxyPort", s.proxy_port);
  file.WriteString(kSection, "Languages", s.languages);
}

std::optional<HostPort> ParseHostPort(std::string_view text) {
  text = Trim(text);
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = text.substr(0, colon);
  const std::string_view port_text = text.substr(colon + 1);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string_view::npos) {
    return std::nullopt;  // a bare IPv6 address needs its brackets
  }
  if (host.empty()) return std::nullopt;
  for (char c : host)
    if (IsBlank(c) || static_cast<unsigned char>(c) < 0x21 || c == '/' || c == '[' || c == ']') return std::nullopt;
  if (port_text.empty() || port_text.size() > 5) return std::nullopt;
  int32_t port = 0;
  for (char c : port_text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return HostPort{std::string(host), port};
}

std::string FormatHostPort(const HostPort& hp) {
  const bool v6 = hp.host.find(':') != std::string::npos;
  return (v6 ? "[" + hp.host + "]" : hp.host) + ":" + std::to_string(hp.port);
}

std::optional<std::string> NormalizeLanguages(std::string_view text) {
  std::vector<std::string_view> tags;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ',' && !IsBlank(text[i])) continue;
    const std::string_view tag = text.substr(start, i - start);
    start = i + 1;
    if (tag.empty()) continue;
    if (!IsLanguageTag(tag)) return std::nullopt;
    bool seen = false;
    for (std::string_view t : tags) seen = seen || EqualsIgnoringCase(t, tag);
    if (!seen) tags.push_back(tag);
  }
  std::string joined;
  for (std::string_view tag : tags) {
    if (!joined.empty()) joined += ',';
    joined += tag;
  }
  return joined;
}

}  // namespace sorvi

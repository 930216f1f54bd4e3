#pragma once
// The program's own Internet settings, kept in section Internet of
// Sorvi.ini: which proxy the web pages go through and which languages the
// pages are asked for. Applied to the engine at start-up and whenever the
// Internet settings dialog is confirmed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/settings_file.h"

namespace sorvi {

enum class ProxyMode : int32_t {
  kSystem = 0,  // the desktop's proxy settings
  kNone = 1,    // connect directly
  kManual = 2,  // ProxyHost:ProxyPort
};

struct InternetSettings {
  ProxyMode proxy = ProxyMode::kSystem;
  std::string proxy_host;  // without brackets for an IPv6 address
  int32_t proxy_port = 0;
  // Language tags separated by commas, most wanted first ("ja,en-US"); empty
  // asks for Japanese first, then English.
  std::string languages;
};

// Missing keys, unknown modes and a manual proxy without a usable host and
// port read as the system's proxy; languages that do not parse as empty.
InternetSettings ReadInternetSettings(const SettingsFile& file);
// Writes Proxy, ProxyHost, ProxyPort and Languages.
void WriteInternetSettings(SettingsFile& file, const InternetSettings& settings);

struct HostPort {
  std::string host;
  int32_t port = 0;
};

// "host:port" or "[v6-address]:port" as a user types it; blanks around it
// are ignored. nullopt when the host is missing or holds blanks, or the
// port is not a number from 1 to 65535.
std::optional<HostPort> ParseHostPort(std::string_view text);
// The text form ParseHostPort reads back.
std::string FormatHostPort(const HostPort& host_port);

// A language list as a user types it ("ja, en-US  en"): tags separated by
// commas or blanks, each made of letters, digits and '-' (no leading or
// trailing '-', at most 8 characters per part); repeats are dropped. The
// result is the tags joined with "," (empty for an empty text), or nullopt
// when a tag is malformed.
std::optional<std::string> NormalizeLanguages(std::string_view text);

}  // namespace sorvi

#include "core/tabs/session.h"

#include <algorithm>

#include "core/tabs/reload_ticks.h"
#include "core/text/sjis.h"

namespace sorvi {

namespace {

constexpr const char* kSection = "Session";

std::string TabSection(int number) { return "SessionTab" + std::to_string(number); }

bool KeepsAddress(const std::string& address) {
  if (address.empty() || address.size() > kMaxSettingsValueBytes) return false;
  if (address.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  return !SjisEqualsIgnoringCase(std::string_view(address).substr(0, 6), "about:");
}

StockWatch ReadWatch(const SettingsFile& file, const std::string& section) {
  StockWatch watch;
  watch.all = file.ReadBool(section, "WatchAll", false);
  for (int n = 1;; ++n) {
    std::string group = file.ReadString(section, "WatchGroup" + std::to_string(n), "");
    if (group.empty()) break;
    watch.groups.push_back(std::move(group));
  }
  return watch;
}

}  // namespace

Session SessionToKeep(const std::vector<OpenTab>& open, int active) {
  Session session;
  int kept_before_active = -1;
  bool active_kept = false;
  for (int i = 0; i < int(open.size()); ++i) {
    const OpenTab& tab = open[size_t(i)];
    if (tab.help || !KeepsAddress(tab.tab.address)) continue;
    if (int(session.tabs.size()) >= kMaxSessionTabs) break;
    if (i < active) kept_before_active = int(session.tabs.size());
    if (i == active) {
      session.current = int(session.tabs.size());
      active_kept = true;
    }
    session.tabs.push_back(tab.tab);
  }
  if (!active_kept) session.current = std::max(kept_before_active, 0);
  return session;
}

bool ReadRestoreOption(const SettingsFile& file) { return file.ReadBool(kSection, "Restore", false); }

void WriteRestoreOption(SettingsFile& file, bool restore) { file.WriteBool(kSection, "Restore", restore); }

Session ReadSession(const SettingsFile& file) {
  Session session;
  const int count = std::clamp(file.ReadInteger(kSection, "Count", 0), 0, kMaxSessionTabs);
  const int current = file.ReadInteger(kSection, "Current", 0);
  for (int i = 0; i < count; ++i) {
    const std::string section = TabSection(i + 1);
    SessionTab tab;
    tab.address = file.ReadString(section, "Address", "");
    if (tab.address.empty()) continue;
    if (i == current) session.current = int(session.tabs.size());
    tab.caption = file.ReadString(section, "Caption", "");
    tab.fixed_caption = file.ReadBool(section, "Fixed", false) && !tab.caption.empty();
    tab.reload_interval = file.ReadInteger(section, "Reload", 0);
    if (tab.reload_interval == 0 || ReloadMenuIndex(tab.reload_interval) < 0) tab.reload_interval = 0;
    tab.silent = file.ReadBool(section, "Silent", false);
    tab.locked = file.ReadBool(section, "Lock", false);
    if (tab.reload_interval > 0) tab.watch = ReadWatch(file, section);
    session.tabs.push_back(std::move(tab));
  }
  return session;
}

void WriteSession(SettingsFile& file, const Session& session) {
  const int count = std::min(int(session.tabs.size()), kMaxSessionTabs);
  const int previous = std::clamp(file.ReadInteger(kSection, "Count", 0), 0, kMaxSessionTabs);
  file.ReplaceSection(kSection, {{"Restore", "1"},
                                 {"Count", std::to_string(count)},
                                 {"Current", std::to_string(std::clamp(session.current, 0, std::max(count - 1, 0)))}});
  for (int i = 0; i < count; ++i) {
    const SessionTab& tab = session.tabs[size_t(i)];
    std::vector<SettingsValue> values = {{"Address", tab.address},
                                         {"Caption", tab.caption},
                                         {"Fixed", tab.fixed_caption ? "1" : "0"},
                                         {"Reload", std::to_string(tab.reload_interval)},
                                         {"Silent", tab.silent ? "1" : "0"},
                                         {"Lock", tab.locked ? "1" : "0"}};
    if (tab.watch.On() && tab.reload_interval > 0) {
      if (tab.watch.all) values.push_back({"WatchAll", "1"});
      int n = 0;
      for (const std::string& group : tab.watch.groups)
        if (!group.empty()) values.push_back({"WatchGroup" + std::to_string(++n), group});
    }
    file.ReplaceSection(TabSection(i + 1), values);
  }
  for (int i = count; i < previous; ++i) file.EraseSection(TabSection(i + 1));
}

void ForgetSession(SettingsFile& file) {
  const int previous = std::clamp(file.ReadInteger(kSection, "Count", 0), 0, kMaxSessionTabs);
  if (previous == 0) return;
  file.ReplaceSection(kSection, {{"Restore", "0"}});
  for (int i = 0; i < previous; ++i) file.EraseSection(TabSection(i + 1));
}

}  // namespace sorvi

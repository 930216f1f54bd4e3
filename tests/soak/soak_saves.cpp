#include "soak_saves.h"

#include <cstdio>
#include <vector>

#include "core/codes/stock_code_list.h"
#include "core/files/data_files.h"
#include "core/files/file_io.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/settings/window_settings.h"

namespace sorvi::soak {

namespace {

// "ソニー" and "業種" in code page 932; "ソ" carries a 0x5C second byte.
constexpr const char* kName = "\x83\x5C\x83\x6A\x81\x5B";
constexpr const char* kGroup = "\x8B\xC6\x8E\xED";

std::string Printf(const char* format, int a, int b) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// Version 0: 40 groups of 100 stocks (about 90 KB); version 1: 25 groups of
// 90 (about 50 KB). Different sizes, both many pages long.
StockCodeList MakeCodeList(int version) {
  const int groups = version == 0 ? 40 : 25;
  const int stocks = version == 0 ? 100 : 90;
  StockCodeList list;
  for (int g = 0; g < groups; ++g) {
    StockGroup group{"[" + std::string(kGroup) + Printf("%02d-%d]", g, version), {}};
    for (int s = 0; s < stocks; ++s) {
      group.stocks.push_back(Printf("%04d ", 1000 + g * 100 + s, 0) + kName + Printf(" %d-%d", s, version));
    }
    list.groups.push_back(std::move(group));
  }
  return list;
}

std::vector<std::string> MakeHistory(int version) {
  std::vector<std::string> history;
  const int entries = version == 0 ? 20 : 15;
  for (int i = 0; i < entries; ++i) {
    std::string url = Printf("https://example.jp/chart?code=%04d&v=%d&q=", 1300 + i, version);
    url.append(260 + 10 * version, 'a' + char(i % 26));
    history.push_back(url);
  }
  return history;
}

}  // namespace

bool SaveCodeList(const std::string& dir, int version) {
  return ReplaceFileContents(dir + kCodeListFileName, SerializeStockCodeList(MakeCodeList(version)));
}

bool SaveSettings(const std::string& dir, int version) {
  // As at the window's close: the settings read once, written in memory,
  // and committed as one change.
  SettingsFile ini(dir + kSettingsFileName);
  const int shift = version * 7;
  WindowSettings window;
  window.Top += shift;
  window.Left += shift;
  window.Height += shift;
  window.Width += shift;
  window.State = version * 2;
  window.SplitteL += shift;
  window.SplitteU += shift;
  window.Target = version == 0 ? NavigateMode::NewTab : NavigateMode::Overwrite;
  for (int i = 0; i < kUrlListColumnCount; ++i) window.Columns[i] = 20 * i + shift;
  window.Expand = version == 0 ? "-+-+-+--" : "+-+";
  window.IniDir = version == 0 ? "/home/user/charts" : "/home/user";
  WriteWindowSettings(ini, window);
  WriteUrlHistory(ini, MakeHistory(version));
  return !ini.Commit().Failed();
}

}  // namespace sorvi::soak

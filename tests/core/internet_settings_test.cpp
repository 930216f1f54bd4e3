#include <gtest/gtest.h>

#include "core/settings/internet_settings.h"
#include "core/settings/settings_file.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

TEST(InternetSettingsFile, DefaultsRoundTripAndBrokenValues) {
  TempDir ini;
  InternetSettings absent = ReadInternetSettings(SettingsFile(ini.File()));
  EXPECT_EQ(absent.proxy, ProxyMode::kSystem);
  EXPECT_EQ(absent.languages, "");

  InternetSettings manual;
  manual.proxy = ProxyMode::kManual;
  manual.proxy_host = "proxy.example.jp";
  manual.proxy_port = 8080;
  manual.languages = "ja,en-US";
  {
    SettingsFile file(ini.File());
    file.WriteString("Option", "Editor", "Notepad");
    WriteInternetSettings(file, manual);
    ASSERT_FALSE(file.Commit().Failed());
  }
  const InternetSettings back = ReadInternetSettings(SettingsFile(ini.File()));
  EXPECT_EQ(back.proxy, ProxyMode::kManual);
  EXPECT_EQ(back.proxy_host, "proxy.example.jp");
  EXPECT_EQ(back.proxy_port, 8080);
  EXPECT_EQ(back.languages, "ja,en-US");
  EXPECT_EQ(SettingsFile(ini.File()).ReadString("Option", "Editor", ""), "Notepad");

  // Hand-edited nonsense never reaches the engine.
  WriteRaw(ini.File(), "[internet]\r\nProxy=2\r\nProxyHost=bad host\r\nProxyPort=99999\r\nLanguages=ja;q=1\r\n");
  const InternetSettings broken = ReadInternetSettings(SettingsFile(ini.File()));
  EXPECT_EQ(broken.proxy, ProxyMode::kSystem);
  EXPECT_EQ(broken.languages, "");
  WriteRaw(ini.File(), "[Internet]\r\nProxy=7\r\n");
  EXPECT_EQ(ReadInternetSettings(SettingsFile(ini.File())).proxy, ProxyMode::kSystem);
  WriteRaw(ini.File(), "[Internet]\r\nProxy=1\r\n");
  EXPECT_EQ(ReadInternetSettings(SettingsFile(ini.File())).proxy, ProxyMode::kNone);
}

TEST(InternetSettingsText, HostAndPortAsTyped) {
  auto hp = ParseHostPort("  127.0.0.1:3128 ");
  ASSERT_TRUE(hp);
  EXPECT_EQ(hp->host, "127.0.0.1");
  EXPECT_EQ(hp->port, 3128);
  hp = ParseHostPort("[::1]:8080");
  ASSERT_TRUE(hp);
  EXPECT_EQ(hp->host, "::1");
  EXPECT_EQ(FormatHostPort(*hp), "[::1]:8080");
  EXPECT_EQ(FormatHostPort({"proxy", 1}), "proxy:1");

  for (const char* bad : {"", "proxy", "proxy:", ":80", "proxy:0", "proxy:65536", "proxy:80a", "pro xy:80", "::1:80",
                          "http://proxy:80", "proxy:123456"})
    EXPECT_FALSE(ParseHostPort(bad)) << bad;
  EXPECT_TRUE(ParseHostPort("proxy:65535"));
}

TEST(InternetSettingsText, LanguageListsAreCleanedOrRefused) {
  EXPECT_EQ(NormalizeLanguages(""), "");
  EXPECT_EQ(NormalizeLanguages(" , "), "");
  EXPECT_EQ(NormalizeLanguages("ja"), "ja");
  EXPECT_EQ(NormalizeLanguages(" ja, en-US  en ,,"), "ja,en-US,en");
  EXPECT_EQ(NormalizeLanguages("ja,JA,en"), "ja,en");
  EXPECT_EQ(NormalizeLanguages("zh-Hant-TW"), "zh-Hant-TW");
  for (const char* bad : {"ja;q=0.9", "-ja", "ja-", "en--US", "日本語", "toolongpart", "ja\r\nX: y"})
    EXPECT_FALSE(NormalizeLanguages(bad)) << bad;
}

}  // namespace
}  // namespace sorvi

#include "core/settings/app_options.h"

#include "core/tabs/session.h"

namespace sorvi {

namespace {
constexpr const char* kSection = "Option";
constexpr const char* kMarksSection = "PageMarks";
}  // namespace

AppOptions ReadAppOptions(const SettingsFile& file) {
  AppOptions o;
  o.Editor = file.ReadString(kSection, "Editor", o.Editor);
  o.IntervalPaste = file.ReadInteger(kSection, "IntervalPaste", o.IntervalPaste);
  o.IntervalDefault = file.ReadInteger(kSection, "IntervalDefault", o.IntervalDefault);
  o.LinkTarget = file.ReadBool(kSection, "LinkTarget", o.LinkTarget);
  o.Client = file.ReadBool(kSection, "Client", o.Client);
  o.Silent = file.ReadBool(kSection, "Silent", o.Silent);
  o.FocusLock = file.ReadBool(kSection, "FocusLock", o.FocusLock);
  o.AutoSave = file.ReadBool(kSection, "AutoSave", o.AutoSave);
  o.RestoreSession = ReadRestoreOption(file);
  o.SleepTabs = ReadTabSleepOption(file);
  o.MarkStocks = file.ReadBool(kMarksSection, "Mark", o.MarkStocks);
  return o;
}

void WriteAppOptions(SettingsFile& file, const AppOptions& options) {
  file.WriteString(kSection, "Editor", options.Editor);
  file.WriteInteger(kSection, "IntervalPaste", options.IntervalPaste);
  file.WriteInteger(kSection, "IntervalDefault", options.IntervalDefault);
  file.WriteBool(kSection, "LinkTarget", options.LinkTarget);
  file.WriteBool(kSection, "Client", options.Client);
  file.WriteBool(kSection, "Silent", options.Silent);
  file.WriteBool(kSection, "FocusLock", options.FocusLock);
  file.WriteBool(kSection, "AutoSave", options.AutoSave);
}

void WriteMarkStocksOption(SettingsFile& file, bool mark) { file.WriteBool(kMarksSection, "Mark", mark); }

}  // namespace sorvi

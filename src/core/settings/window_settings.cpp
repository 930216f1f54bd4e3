#include "core/settings/window_settings.h"

namespace sorvi {

namespace {

constexpr const char* kSection = "Window";

std::string ColumnKey(int i) { return "CLM-" + std::to_string(i); }

}  // namespace

WindowSettings ReadWindowSettings(const SettingsFile& file, std::string_view data_dir) {
  WindowSettings s;
  s.Top = file.ReadInteger(kSection, "Top", s.Top);
  s.Left = file.ReadInteger(kSection, "Left", s.Left);
  s.Height = file.ReadInteger(kSection, "Height", s.Height);
  s.Width = file.ReadInteger(kSection, "Width", s.Width);
  s.State = file.ReadInteger(kSection, "State", s.State);
  s.SplitteL = file.ReadInteger(kSection, "SplitteL", s.SplitteL);
  s.SplitteU = file.ReadInteger(kSection, "SplitteU", s.SplitteU);
  s.Target = NavigateModeFromSetting(file.ReadInteger(kSection, "Target", NavigateModeToSetting(s.Target)));
  for (int i = 0; i < kUrlListColumnCount; ++i) s.Columns[i] = file.ReadInteger(kSection, ColumnKey(i), s.Columns[i]);
  s.Expand = file.ReadString(kSection, "Expand", "");
  s.IniDir = file.ReadString(kSection, "IniDir", data_dir);
  return s;
}

void WriteWindowSettings(SettingsFile& file, const WindowSettings& s) {
  file.WriteInteger(kSection, "Top", s.Top);
  file.WriteInteger(kSection, "Left", s.Left);
  file.WriteInteger(kSection, "Height", s.Height);
  file.WriteInteger(kSection, "Width", s.Width);
  file.WriteInteger(kSection, "State", s.State);
  file.WriteInteger(kSection, "SplitteL", s.SplitteL);
  file.WriteInteger(kSection, "SplitteU", s.SplitteU);
  file.WriteInteger(kSection, "Target", NavigateModeToSetting(s.Target));
  for (int i = 0; i < kUrlListColumnCount; ++i) file.WriteInteger(kSection, ColumnKey(i), s.Columns[i]);
  file.WriteString(kSection, "Expand", s.Expand);
  file.WriteString(kSection, "IniDir", s.IniDir);
}

}  // namespace sorvi

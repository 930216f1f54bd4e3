#include "core/settings/option_rules.h"

#include <algorithm>

#include "core/tabs/session.h"

namespace sorvi {

int32_t IntervalShown(int32_t stored) {
  // Clamp first so that rounding cannot overflow near the 32-bit limits.
  const int64_t clamped = std::clamp<int64_t>(stored, kIntervalMin, kIntervalMax);
  const int64_t rounded = (clamped + kIntervalStep / 2) / kIntervalStep * kIntervalStep;
  return static_cast<int32_t>(std::clamp<int64_t>(rounded, kIntervalMin, kIntervalMax));
}

std::string EditorToStore(const std::string& text, bool names_existing_file) {
  if (text.empty() || !names_existing_file) return "Notepad";
  return text;
}

OptionDialogResult ApplyOptionDialog(const AppOptions& before, const OptionDialogInput& input) {
  OptionDialogResult result;
  AppOptions& o = result.options;
  o.Editor = EditorToStore(input.editor_text, input.editor_exists);
  // The boxes only ever hold steps within the range, but a caller may hand
  // over anything; never store what the boxes could not show.
  o.IntervalPaste = IntervalShown(input.interval_paste);
  o.IntervalDefault = IntervalShown(input.interval_default);
  o.LinkTarget = input.link_target;
  o.Client = input.client;
  o.Silent = input.silent;
  o.FocusLock = input.focus_lock;
  o.AutoSave = input.auto_save;
  o.RestoreSession = input.restore_session;
  o.SleepTabs = TabSleepOption{input.sleep_tabs, std::clamp(input.sleep_minutes, kSleepMinutesMin, kSleepMinutesMax)};
  result.sleep_before = before.SleepTabs;
  result.link_target_changed = o.LinkTarget != before.LinkTarget;
  result.restore_session_changed = o.RestoreSession != before.RestoreSession;
  o.MarkStocks = input.mark_stocks;
  result.mark_stocks_changed = o.MarkStocks != before.MarkStocks;
  result.later_tabs_changed = o.Client != before.Client || o.Silent != before.Silent || o.FocusLock != before.FocusLock;
  return result;
}

void StoreOptionDialogResult(SettingsFile& file, const OptionDialogResult& result) {
  WriteAppOptions(file, result.options);
  if (result.options.RestoreSession || result.restore_session_changed)
    WriteRestoreOption(file, result.options.RestoreSession);
  if (!result.options.MarkStocks || result.mark_stocks_changed) WriteMarkStocksOption(file, result.options.MarkStocks);
  WriteTabSleepOption(file, result.options.SleepTabs, result.sleep_before);
}

}  // namespace sorvi

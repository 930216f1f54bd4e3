#pragma once
// The program speaks Japanese whatever the desktop's language: Qt's own
// dialogs through its translations, the engine through the default locale
// (read when the engine starts, with the first browser).
class QCoreApplication;

namespace sorvi {

// Call once, right after the application object exists. Cheap: it loads
// one small translation file and sets the default locale; the engine is
// not started.
void UseJapanese(QCoreApplication* app);

// What pages are told the reader prefers (the Accept-Language header).
inline constexpr char kAcceptLanguage[] = "ja,en-US;q=0.8,en;q=0.6";

}  // namespace sorvi

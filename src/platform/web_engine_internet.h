#pragma once
// Carries the program's Internet settings (section Internet of Sorvi.ini)
// into the web engine, and deletes what the engine keeps of the sites.
//
// The proxy is application-wide (QNetworkProxy's application proxy). The
// running engine takes a change only when a request asks it to, so a
// change is followed by a request that makes it do so: every request after
// the change uses the new proxy (requests under way finish the old way).
// Languages belong to the engine profile: they are set on the running
// profile at once and must be set on each profile the program makes later
// (ApplyToNewProfile).
#include <QString>

#include "core/settings/internet_settings.h"

class QWebEngineProfile;

namespace sorvi {

// Makes `settings` the program's Internet settings: sets the proxy at once
// and the languages on the running engine's profile, if there is one.
// Never starts the engine. A changed proxy waits (a few milliseconds, 2 s
// at most, taking no user input) until the running engine has it.
void UseInternetSettings(const InternetSettings& settings);
const InternetSettings& CurrentInternetSettings();

// For the code that makes an engine profile: gives it the languages of the
// current settings, and first removes the site storage that a clearing
// while the engine ran left for the next start.
void ApplyToNewProfile(QWebEngineProfile* profile);

// Sets only the languages of `profile`; empty languages ask for Japanese
// first (kAcceptLanguage).
void ApplyLanguages(QWebEngineProfile* profile, const QString& languages);

// Deletes the cookies, the cache and the visited-link marks of `profile` at
// once. Stored site data (local storage, databases, service workers) cannot
// be deleted under a running engine: it is removed from the storage
// directory now when the engine is not running, otherwise at the next start
// (see ApplyToNewProfile). Returns true when everything is gone already,
// false when part of it waits for the next start.
bool ClearBrowsingData(QWebEngineProfile* profile);

// The same for the program's own engine profile: cookies and cache of the
// running engine, and the stored site data in WebEngine::StoragePath().
bool ClearProgramBrowsingData();

}  // namespace sorvi

#pragma once
// The file name to propose for a download.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace sorvi {

// Whether the name the engine made of Content-Disposition (or of the
// address) can be proposed as it is. The engine reads a name that is
// neither UTF-8 nor RFC 5987 as ISO 8859-1 (Qt 6.4) or windows-1252 (Qt
// 6.8), having first dropped every 0x5C inside quotes, which turns the code
// page 932 names of Japanese servers into nonsense that cannot be undone;
// an address that is not UTF-8 comes out with U+FFFD in it.
bool EngineNameIsSound(const QString& engine_name);

// The name read from the server's own `disposition` bytes (the value of its
// Content-Disposition header), else the last part of `url`'s path, else
// "download". Never a path, never half decoded.
QString DownloadFileName(const std::optional<QByteArray>& disposition, const QUrl& url);

}  // namespace sorvi

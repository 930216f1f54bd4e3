#pragma once
// Addresses between the address box and the web engine. The program's URL
// macros put code page 932 bytes into addresses unencoded; the engine needs
// them percent-encoded as those same bytes (%83%5C ...), so the server sees
// exactly what the macro produced. Going back, the address shown decodes
// such runs again, so that showing an address and opening the shown text
// leads to the same address.
#include <QByteArray>
#include <QString>
#include <QUrl>

namespace sorvi::web_address {

// `sjis` is address-box text in code page 932. Local paths ("/...") and
// "file:" addresses become file URLs; an address without a scheme gets
// "http://". For http, https and ftp the bytes after the host are kept
// except that bytes of 0x80 and above, both bytes of a double-byte
// character (0x5C may be a trail byte) and unsafe bytes (controls, space,
// '"', '<', '>') are percent-encoded. Other schemes are read as text.
QUrl FromSjis(const QByteArray& sjis);

// The same for text as the address box shows it: text that code page 932
// can hold goes through FromSjis; other text is encoded as UTF-8.
QUrl FromText(const QString& text);

// The address as the address box shows it: http, https and ftp addresses in
// their encoded form, with percent-encoded runs that are code page 932 text
// (and not UTF-8) decoded to characters; other schemes decoded as usual.
QString Display(const QUrl& url);

}  // namespace sorvi::web_address

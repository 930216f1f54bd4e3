#pragma once
// Internal to WebBrowser: a script put into every document of a page (its
// frames too) before the page's own scripts run, which tells the program
// what the engine keeps to itself: the window name a window.open call or a
// link or form aims at, the features (sizes) of window.open, the page's own
// window name, and window.close() from any page. The script reports through
// console messages that carry a tag only this run of the program knows.
#include <QString>
#include <optional>

class QWebEngineScript;

namespace sorvi::page_reports {

struct Report {
  enum class Kind {
    Open,    // window.open(url, name, features)
    Target,  // a link or form aimed at a named window was activated
    Name,    // the top document's window name, at its start and when set
    Close,   // window.close() in the top document
    Edited,  // the user typed into or changed a form field (once per document)
  };
  Kind kind = Kind::Open;
  QString url;  // absolute; empty for window.open without an address
  QString name;
  QString features;
};

// The script, for QWebEnginePage::scripts().
QWebEngineScript Script();

// A console message of the script made into its report; nothing for the
// page's own messages.
std::optional<Report> Parse(const QString& message);

}  // namespace sorvi::page_reports

#pragma once
// Marks the user's stocks on every page: a script of the program's own,
// run apart from the page's scripts (an isolated world), gives each
// standalone stock code of the user's list a background colour and a
// tooltip naming its groups, again whenever the page changes, never inside
// an editable area or on the help page. It only reads the page and sends
// nothing anywhere. The table reaches the pages already open at once.
#include <QList>
#include <QString>

class QWebEngineProfile;

namespace sorvi::page_marks {

struct Stock {
  QString code;     // half-width, e.g. "130A"
  QString tooltip;  // one "group: code name" line per group
};

// The stocks to mark from now on, on every page; an empty list takes all
// marks away.
void SetStocks(const QList<Stock>& stocks);

// Puts the script (with the current table) into a profile being made.
void Install(QWebEngineProfile* profile);

// Script for the isolated world of a page: its result is the row texts
// (table cells or list item parts) around the element last right-clicked.
QString ContextRowScript();

// Script for the isolated world of a page: its result is every stock code
// the page shows (half-width), in page order, whether marked or not.
QString CodesScript();

}  // namespace sorvi::page_marks

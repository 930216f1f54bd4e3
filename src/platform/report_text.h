#pragma once
// The one place where what became of a data file's load or save is put into
// the user's words, and shown.
#include <QString>

#include "core/files/file_report.h"

class QWidget;

namespace sorvi {

// The message for a failed load or save; empty when nothing failed.
QString ReportText(const FileReport& report);

// What a load that went through left out of the list is told once the
// current event is done, each in a box of its own.
void PostReportNotes(QWidget* window, const FileReport& report);

// A failure in an error box at once, then the notes as above.
void ShowReport(QWidget* window, const FileReport& report);

}  // namespace sorvi

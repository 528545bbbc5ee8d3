#pragma once

#include "reports/ReportText.h"

#include <QTextDocument>
#include <memory>

namespace horalog
{

// The report as the formatted document the report window shows, prints and saves: the title
// centred, blue and 16 point; the period, the print date and the two rules in Times New Roman 12
// point, the label "Task Hours: " at 14; the table in Courier New at the report box's 9.75 point;
// the heading lines and every total line bold, the print date also italic.
std::unique_ptr<QTextDocument> reportDocument(const ReportText& report);

} // namespace horalog

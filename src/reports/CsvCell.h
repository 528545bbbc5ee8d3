#pragma once

#include <QString>

namespace horalog
{

// A text cell of an exported CSV file as a spreadsheet shows it: text that begins with "=", "+", "-",
// "@", a tab or a carriage return would be taken for a formula (and run), so it gets a leading
// apostrophe and reads as the text it is. Only text typed by users goes through it; the numbers and
// dates the export writes itself are written as they are.
QString formulaSafe(const QString& text);

} // namespace horalog

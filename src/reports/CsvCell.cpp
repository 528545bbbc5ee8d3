#include "reports/CsvCell.h"

namespace horalog
{

QString formulaSafe(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

} // namespace horalog

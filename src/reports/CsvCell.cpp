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

QString csvField(const QString& text)
{
    const QString safe = formulaSafe(text);
    const bool needsQuotes = safe.contains(QLatin1Char(',')) || safe.contains(QLatin1Char('"')) ||
                             safe.contains(QLatin1Char('\n')) || safe.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return safe;
    QString quoted = safe;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace horalog

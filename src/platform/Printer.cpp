#include "platform/Printer.h"

#include "platform/RuntimeError.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

namespace horalog
{

namespace
{
// The page is a letter sheet, 8.5 inches (12240 twips) wide; the text keeps three quarters of an
// inch from each edge.
constexpr double kMarginInches = 0.75;

void paintPage(QTextDocument& pages, QPainter& painter, int index)
{
    const QSizeF page = pages.pageSize();
    const QRectF view(0, index * page.height(), page.width(), page.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = view;
    painter.save();
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    pages.documentLayout()->draw(&painter, context);
    painter.restore();
}
} // namespace

void printOnLetterPages(const QTextDocument& document, QPrinter& printer)
{
    printer.setFullPage(false);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches),
                                      QPageLayout::Inch));
    QPainter painter;
    if (!painter.begin(&printer))
        throw RuntimeError(error::PrinterError, QStringLiteral("the printer did not accept the job."));

    // A copy is laid out in the printer's own measures, so the window's layout stays as it is.
    const std::unique_ptr<QTextDocument> pages(document.clone());
    pages->setDocumentMargin(0);
    pages->documentLayout()->setPaintDevice(&printer);
    pages->setPageSize(QSizeF(printer.width(), printer.height()));
    const int pageCount = pages->pageCount();
    for (int index = 0; index < pageCount; ++index) {
        if (index > 0 && !printer.newPage())
            throw RuntimeError(error::PrinterError,
                               QStringLiteral("the printer broke off the job at page %1.").arg(index + 1));
        paintPage(*pages, painter, index);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw RuntimeError(error::PrinterError, QStringLiteral("the printer could not finish the job."));
}

} // namespace horalog

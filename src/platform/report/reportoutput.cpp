#include "reportoutput.h"

#include "preparedreport.h"
#include "reportpainter.h"

#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

void preview(const ReportLayout &layout, QWidget *parent)
{
    const PreparedReport report = prepareReport(layout);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(report.page.orientation);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter *target) { paintReport(report, target); });
    dialog.exec();
}

bool printDirect(const ReportLayout &layout)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return false;
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setCopyCount(1);
    return paintReport(prepareReport(layout), &printer);
}

bool exportPdf(const ReportLayout &layout, const QString &fileName)
{
    return exportPdf(QList<PreparedReport>{prepareReport(layout)}, fileName);
}

bool exportPdf(const QList<PreparedReport> &reports, const QString &fileName)
{
    QPdfWriter writer(fileName);
    writer.setCreator(QStringLiteral("trelvandor"));
    return paintReports(reports, &writer);
}

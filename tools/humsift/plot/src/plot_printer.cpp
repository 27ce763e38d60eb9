#include "vorn/plot/plot_printer.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace vorn::plot {

PrintOutcome printPicture(const QImage& picture, const QString& caption, const QString& pdfPathWithoutPrinter) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(caption);
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool toPdf = defaultPrinter.isNull();
    const QString pdfPath = QFileInfo(pdfPathWithoutPrinter).absoluteFilePath();
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    } else {
        printer.setPrinterName(defaultPrinter.printerName());
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        return {false, toPdf ? QStringLiteral("Could not write the PDF file %1").arg(pdfPath)
                             : QStringLiteral("Could not print on %1").arg(defaultPrinter.printerName())};
    }
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPointSize(14);
    painter.setFont(font);
    const int captionHeight = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(page.left(), page.top(), page.width(), captionHeight), Qt::AlignCenter, caption);
    QSize size = picture.size();
    size.scale(page.width(), page.height() - captionHeight, Qt::KeepAspectRatio);
    const QRect target(page.left() + (page.width() - size.width()) / 2, page.top() + captionHeight, size.width(),
                       size.height());
    painter.drawImage(target, picture);
    painter.end();
    if (toPdf) return {true, QStringLiteral("No printer is set up; the plot was printed to %1").arg(pdfPath)};
    return {true, QStringLiteral("The plot was sent to the printer %1").arg(defaultPrinter.printerName())};
}

}  // namespace vorn::plot

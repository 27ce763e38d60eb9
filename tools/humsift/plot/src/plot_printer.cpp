#include "vorn/plot/plot_printer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "vorn/console/file_replace.h"

namespace vorn::plot {

namespace {

// The caption centred at the top, the picture below it as large as the page allows.
void drawPage(QPainter& painter, const QImage& picture, const QString& caption)
{
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
}

PrintOutcome printOn(const QPrinterInfo& printerInfo, const QImage& picture, const QString& caption)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(caption);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPrinterName(printerInfo.printerName());
    QPainter painter;
    if (!painter.begin(&printer))
        return {false, QStringLiteral("Could not print on %1").arg(printerInfo.printerName())};
    drawPage(painter, picture, caption);
    painter.end();
    return {true, QStringLiteral("The plot was sent to the printer %1").arg(printerInfo.printerName())};
}

// The PDF is made in memory and then written whole, so a folder that cannot be written is told
// with the system's reason instead of a message from deep inside Qt.
PrintOutcome printToPdf(const QString& path, const QImage& picture, const QString& caption)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(caption);
        pdf.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&pdf);
        drawPage(painter, picture, caption);
    }
    const console::FileWriteResult written = console::replaceFile(path.toStdString(), bytes.toStdString());
    if (!written)
        return {
            false,
            QStringLiteral("Could not write the PDF file %1: %2").arg(path, QString::fromStdString(written.reason))};
    return {true, QStringLiteral("No printer is set up; the plot was printed to %1").arg(path)};
}

} // namespace

PrintOutcome printPicture(const QImage& picture, const QString& caption, const QString& pdfPathWithoutPrinter)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return printToPdf(QFileInfo(pdfPathWithoutPrinter).absoluteFilePath(), picture, caption);
    return printOn(defaultPrinter, picture, caption);
}

} // namespace vorn::plot

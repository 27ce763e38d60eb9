#pragma once
// Printing the graphics window's picture with a caption on the default printer, or, where the
// machine has no printer, into a PDF file.
#include <QImage>
#include <QString>

namespace vorn::plot {

struct PrintOutcome {
    bool printed = false;
    QString message; // what happened, in words for the user
};

PrintOutcome printPicture(const QImage& picture, const QString& caption, const QString& pdfPathWithoutPrinter);

} // namespace vorn::plot

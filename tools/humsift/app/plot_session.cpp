#include "plot_session.h"

#include <QDateTime>
#include <QFileInfo>

#include "vorn/plot/plot_printer.h"

namespace vorn::humsift {

using console::Key;
using console::KeyKind;

void PlotSession::show(const PlotFigure& figure) {
    PlotView view;
    renderPlot(window_, figure, view);
    for (;;) {
        const Key key = entry_.console().waitForKey();
        switch (key.kind) {
        case KeyKind::Up: --view.panY; break;
        case KeyKind::Down: ++view.panY; break;
        case KeyKind::Left: ++view.panX; break;
        case KeyKind::Right: --view.panX; break;
        case KeyKind::PageUp: ++view.zoom; break;
        case KeyKind::PageDown: --view.zoom; break;
        default:
            if (key.isLetter('Q')) return;
            if (key.isLetter('M')) printHelp();
            if (key.isLetter('P')) print();
            if (key.isLetter('S')) save();
            continue;
        }
        renderPlot(window_, figure, view);
    }
}

void PlotSession::printHelp() {
    console::Console& c = entry_.console();
    for (const char* line : {" PgUp magnifies plot", " PgDn makes plot smaller",
                             " left and right arrow keys move axis origin left and right",
                             " up and down arrow keys move axis origin up and down", " P to print the screen",
                             " Q to exit plotting", " S to save a bitmap image of the graph"})
        c.printLine(line);
}

void PlotSession::print() {
    // Without a printer the page goes to a PDF file named after the moment, beside the data.
    const QString pdf =
        QStringLiteral("VornNoiseAnalysis-%1.pdf").arg(QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss"));
    const plot::PrintOutcome outcome = plot::printPicture(window_.picture(), kPrintCaption, pdf);
    entry_.console().printLine(outcome.message.toStdString());
}

void PlotSession::save() {
    pictureName_ = entry_.askText("File name for saving the picture. A .BMP extension will be added automatically ",
                                  pictureName_);
    const std::string path = pictureName_ + ".BMP";
    const bool saved = window_.saveBitmap(QString::fromStdString(path));
    const std::string where = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    entry_.console().printLine(saved ? "Picture saved in " + where : "Could not save the picture in " + where);
}

}  // namespace vorn::humsift

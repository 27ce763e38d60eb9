#include "plot_session.h"

#include <QDateTime>
#include <QFileInfo>

#include "vorn/console/file_replace.h"
#include "vorn/plot/plot_printer.h"

namespace vorn::humsift {

namespace {
constexpr const char* kPictureSuffix = ".BMP";
}

using console::Key;
using console::KeyKind;

void PlotSession::show(const PlotFigure& figure)
{
    PlotView view;
    renderPlot(window_, figure, view);
    const std::string note = notDrawnNote(figure);
    if (!note.empty())
        entry_.console().printWrapped(note);
    for (;;) {
        const Key key = entry_.console().waitForKey();
        switch (key.kind) {
        case KeyKind::Up: --view.panY; break;
        case KeyKind::Down: ++view.panY; break;
        case KeyKind::Left: ++view.panX; break;
        case KeyKind::Right: --view.panX; break;
        case KeyKind::PageUp: view.magnify(); break;
        case KeyKind::PageDown: view.shrink(); break;
        default:
            if (key.isLetter('Q'))
                return;
            if (key.isLetter('M'))
                printHelp();
            if (key.isLetter('P'))
                print();
            if (key.isLetter('S'))
                save();
            continue;
        }
        renderPlot(window_, figure, view);
    }
}

void PlotSession::printHelp()
{
    console::Console& c = entry_.console();
    for (const char* line : {" PgUp magnifies plot", " PgDn makes plot smaller",
                             " left and right arrow keys move axis origin left and right",
                             " up and down arrow keys move axis origin up and down", " P to print the screen",
                             " Q to exit plotting", " S to save a bitmap image of the graph"})
        c.printLine(line);
}

void PlotSession::print()
{
    // Without a printer the page goes to a PDF file named after the moment, beside the data.
    const QString pdf =
        QStringLiteral("VornNoiseAnalysis-%1.pdf").arg(QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss"));
    const plot::PrintOutcome outcome = plot::printPicture(window_.picture(), kPrintCaption, pdf);
    entry_.console().printWrapped(outcome.message.toStdString());
}

void PlotSession::save()
{
    pictureName_ = outputs_.askName("File name for saving the picture. A .BMP extension will be added automatically ",
                                    pictureName_, kPictureSuffix);
    const std::string path = pictureName_ + kPictureSuffix;
    const std::string where = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    const console::FileWriteResult saved = console::replaceFile(path, window_.bitmap());
    entry_.console().printWrapped(saved ? "Picture saved in " + where
                                        : "Could not save the picture in " + where + ": " + saved.reason + ".");
}

} // namespace vorn::humsift

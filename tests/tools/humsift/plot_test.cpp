// The plot window draws, saves and prints real pictures (off-screen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <cmath>
#include <limits>

#include "plot_figure.h"
#include "temp_dir.h"
#include "vorn/plot/graphics_window.h"
#include "vorn/plot/plot_printer.h"
#include "vorn/plot/window_keys.h"

namespace vorn::humsift {
namespace {

using testing::TempDir;

PlotFigure sineFigure()
{
    PlotFigure figure;
    figure.rows = {"Room 12", "Non-folded Power Spectrum", "hit M to display menu"};
    figure.xLabel = "Frequency (Hz)";
    figure.xMin = 0.0;
    figure.xMax = 200.0;
    PlotCurve curve {{}, {}, QColor(250, 220, 60), Qt::SolidLine};
    for (int i = 0; i <= 2000; ++i) {
        curve.x.push_back(i * 0.1);
        curve.y.push_back(10.0 + 8.0 * std::sin(i * 0.05));
    }
    figure.curves.push_back(curve);
    return figure;
}

// Pixels near a colour (the painter smooths edges, so exact matches are rare).
int countColour(const QImage& image, QColor colour, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                        std::abs(c.blue() - colour.blue()) <
                    120 &&
                c.value() > 80)
                ++count;
        }
    return count;
}

int countNotBlack(const QImage& image, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::black))
                ++count;
    return count;
}

TEST(PlotWindow, DrawsCurveTextAndAxesAndSavesThemAsABitmap)
{
    plot::GraphicsWindow window;
    renderPlot(window, sineFigure(), PlotView {});
    const QImage& picture = window.picture();
    const QRect textArea(0, 0, 400, 60);
    const QRect plotArea(91, 171, 838, 408);
    EXPECT_GT(countNotBlack(picture, textArea), 200);                                    // the text rows
    EXPECT_GT(countColour(picture, QColor(250, 220, 60), plotArea), 800);                // the curve
    EXPECT_GT(countColour(picture, QColor(200, 200, 200), QRect(89, 170, 3, 410)), 300); // the y axis

    TempDir dir;
    const QString path = QString::fromStdString(dir.file("plot.BMP"));
    ASSERT_TRUE(window.saveBitmap(path));
    QImage reloaded(path);
    ASSERT_FALSE(reloaded.isNull());
    EXPECT_EQ(reloaded.size(), picture.size());
    EXPECT_EQ(reloaded.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(window.saveBitmap(QString::fromStdString(dir.file("no/such/folder/plot.BMP"))));
}

TEST(PlotWindow, MovingAndMagnifyingRedrawsTheCurveElsewhere)
{
    plot::GraphicsWindow window;
    renderPlot(window, sineFigure(), PlotView {});
    const QImage plain = window.picture().copy();
    renderPlot(window, sineFigure(), PlotView {0, 0, 2});
    const QImage magnified = window.picture().copy();
    renderPlot(window, sineFigure(), PlotView {3, -2, 0});
    const QImage moved = window.picture().copy();
    EXPECT_NE(plain, magnified);
    EXPECT_NE(plain, moved);
    // Drawing never leaves the plot area: the margins below and beside it hold labels only.
    renderPlot(window, sineFigure(), PlotView {-40, -40, 6});
    EXPECT_EQ(countColour(window.picture(), QColor(250, 220, 60), QRect(0, 600, 960, 40)), 0);
}

TEST(PlotWindow, PrintsToAPdfWithoutAPrinter)
{
    plot::GraphicsWindow window;
    renderPlot(window, sineFigure(), PlotView {});
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("plot.pdf"));
    const plot::PrintOutcome outcome = plot::printPicture(window.picture(), "Vorn Noise Analysis", pdf);
    ASSERT_TRUE(outcome.printed) << outcome.message.toStdString();
    if (outcome.message.contains("PDF") || outcome.message.contains(".pdf")) {
        EXPECT_TRUE(outcome.message.contains(pdf));
        EXPECT_EQ(dir.read("plot.pdf").substr(0, 5), "%PDF-");
    }
}

TEST(PlotWindow, AFolderThatCannotBeWrittenIsToldWithoutQtsOwnWords)
{
    plot::GraphicsWindow window;
    renderPlot(window, sineFigure(), PlotView {});
    static QStringList qtSaid;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { qtSaid << m; });
    TempDir dir;
    const plot::PrintOutcome outcome =
        plot::printPicture(window.picture(), "Vorn Noise Analysis", QString::fromStdString(dir.file("gone/plot.pdf")));
    qInstallMessageHandler(previous);
    if (outcome.message.contains("printer"))
        GTEST_SKIP() << "a printer is set up here";
    EXPECT_FALSE(outcome.printed);
    EXPECT_TRUE(outcome.message.endsWith(": No such file or directory")) << outcome.message.toStdString();
    EXPECT_TRUE(qtSaid.isEmpty()) << qtSaid.join("\n").toStdString();
}

TEST(PlotWindow, CurvesWithoutFiniteValuesAreSaidNotDrawnSilently)
{
    PlotFigure figure = sineFigure();
    EXPECT_EQ(notDrawnNote(figure), "");
    figure.curves[0].y[5] = std::nan("");
    EXPECT_EQ(notDrawnNote(figure), "1 of the 2001 values are not finite and are not drawn.");
    for (double& y : figure.curves[0].y)
        y = std::numeric_limits<double>::infinity();
    EXPECT_EQ(notDrawnNote(figure), "Nothing to draw: none of the 2001 values is finite.");
    plot::GraphicsWindow window;
    renderPlot(window, figure, PlotView {});
    // The note is a row of text above the plot, where the rows of a plain figure end.
    PlotFigure plain = sineFigure();
    plain.curves.clear();
    plot::GraphicsWindow plainWindow;
    renderPlot(plainWindow, plain, PlotView {});
    const QRect noteRow(0, window.textRowBottom(3), 960, 16);
    EXPECT_GT(countNotBlack(window.picture(), noteRow), countNotBlack(plainWindow.picture(), noteRow) + 50);
}

TEST(PlotWindow, AFlatCurveIsDrawnInsideThePlot)
{
    // A filter response of 1 everywhere (the notch off) once fell on the frame and was cut off.
    PlotFigure figure = sineFigure();
    for (double& y : figure.curves[0].y)
        y = 1.0;
    plot::GraphicsWindow window;
    renderPlot(window, figure, PlotView {});
    // A thin horizontal line is smoothed over two rows, so look for any yellowish pixel.
    int yellowish = 0;
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 960; ++x) {
            const QColor c = window.picture().pixelColor(x, y);
            if (c.red() > 2 * c.blue() + 20)
                ++yellowish;
        }
    EXPECT_GT(yellowish, 500);
}

TEST(PlotWindow, WindowKeysBecomeConsoleKeys)
{
    plot::GraphicsWindow window;
    std::vector<console::Key> keys;
    window.setKeyHandler([&](console::Key key) { keys.push_back(key); });
    for (auto [key, text] : {std::pair {Qt::Key_PageUp, QString()}, std::pair {Qt::Key_Left, QString()},
                             std::pair {Qt::Key_Q, QStringLiteral("q")}, std::pair {Qt::Key_Shift, QString()}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&window, &press);
    }
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].kind, console::KeyKind::PageUp);
    EXPECT_EQ(keys[1].kind, console::KeyKind::Left);
    EXPECT_TRUE(keys[2].isLetter('Q'));
}

} // namespace
} // namespace vorn::humsift

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

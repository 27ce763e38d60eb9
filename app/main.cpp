// Vornscope: the desktop program for Vorn trackers.
#include "shell/app_settings.h"
#include "shell/main_frame.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    vornscope::initialiseSettings();
    vornscope::CMainFrame frame;
    frame.restoreGeometry(vornscope::loadWindowGeometry());
    // A file named on the command line is opened into a graph; otherwise a new empty document.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        frame.openFile(arguments.at(1));
    else
        frame.newDocument();
    frame.show();
    return QApplication::exec();
}

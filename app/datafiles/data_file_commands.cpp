#include "datafiles/data_file_commands.h"

#include "core/data_file_reader.h"
#include "core/data_file_writer.h"
#include "core/messages.h"
#include "datafiles/background_work.h"
#include "datafiles/data_file_dialogs.h"
#include "datafiles/save_data_options_dialog.h"
#include "displays/graph_window.h"
#include "document/vornscope_view.h"
#include "shell/message_boxes.h"

#include <QFileInfo>

#include <new>

namespace vornscope {
namespace {

void stop(const char* text, const char* caption = "")
{
    messageSink().show(text, caption, MessageIcon::Stop, MessageButtons::Ok);
}

} // namespace

bool DataFileCommands::openTarget(const QString& path)
{
    DataFileWriter& target = view_.targetFile();
    if (!target.open(path.toStdString())) {
        stop(text::kCannotWriteTarget, "Error");
        return false;
    }
    view_.saveTarget = target.path();
    return true;
}

void DataFileCommands::saveDataOptions()
{
    ViewState& state = view_.state();
    DataFileWriter& target = view_.targetFile();
    SaveDataOptionsDialog dialog(QString::fromStdString(view_.saveTarget), target.isOpen(), state.sendToTarget, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.closeTarget()) {
        target.close();
        view_.saveTarget = text::kNoTargetFile;
        state.sendToTarget = false;
        return;
    }
    const QString path = dialog.path();
    if (path.toStdString() != view_.saveTarget && !path.isEmpty())
        openTarget(path);
    state.sendToTarget = dialog.send() && target.isOpen();
}

void DataFileCommands::saveData()
{
    ViewState& state = view_.state();
    if (state.graphVisible) {
        saveGraph();
        return;
    }
    if (view_.targetFile().isOpen()) {
        state.sendToTarget = !state.sendToTarget;
        return;
    }
    const QString path = askSavePath(&view_);
    if (!path.isEmpty() && openTarget(path))
        state.sendToTarget = true;
}

void DataFileCommands::saveGraph()
{
    const QString path = askSavePath(&view_);
    if (path.isEmpty())
        return;
    DataFileWriter file;
    if (!file.open(path.toStdString())) {
        stop(text::kCannotWriteGraph);
        return;
    }
    if (!file.write(graphFileText(view_.graphWindow()->data())))
        stop(text::kCannotWriteGraph);
}

namespace {

struct FileRead {
    bool opened = false;
    bool outOfMemory = false;
    ReadOutcome outcome = ReadOutcome::Complete;
    GraphData data;
};

// Loads and parses on the worker thread; nothing here touches a widget.
void readInto(const std::string& path, ReadProgress& progress, FileRead& read)
{
    try {
        std::string text;
        read.opened = loadFileText(path, text, &progress);
        if (read.opened)
            read.outcome = readDataFile(text, read.data, &progress);
    } catch (const std::bad_alloc&) {
        read.data = GraphData {};
        read.outOfMemory = true;
    }
}

} // namespace

bool DataFileCommands::openAndGraph(QString path)
{
    if (path.isEmpty())
        path = askOpenPath(&view_);
    if (path.isEmpty())
        return false;
    ReadProgress progress;
    FileRead read;
    const std::string file = path.toStdString();
    const QString label = QObject::tr("Reading %1").arg(QFileInfo(path).fileName());
    if (!runWithProgress(&view_, label, progress, [&] { readInto(file, progress, read); }))
        return false; // cancelled: the graph stays as it was
    if (read.outOfMemory) {
        stop(text::kFileTooLarge);
        return false;
    }
    if (!read.opened) {
        stop(text::kCannotRead);
        return false;
    }
    if (read.outcome == ReadOutcome::Unrecognised)
        stop(text::kUnrecognisedFile);
    if (read.data.empty() || read.data.sensorCount() == 0) {
        // Nothing to draw: no empty graph, and not a file to offer again.
        if (read.outcome == ReadOutcome::Complete)
            stop(text::kNoDataPoints);
        return false;
    }
    view_.setGraphMode(true, 0.8);
    view_.graphWindow()->showFile(std::move(read.data));
    Q_EMIT view_.stateChanged();
    return read.outcome == ReadOutcome::Complete;
}

} // namespace vornscope

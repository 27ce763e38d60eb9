#include "datafiles/data_file_commands.h"

#include "core/data_file_reader.h"
#include "core/data_file_writer.h"
#include "core/messages.h"
#include "datafiles/data_file_dialogs.h"
#include "datafiles/save_data_options_dialog.h"
#include "displays/graph_window.h"
#include "document/vornscope_view.h"
#include "shell/message_boxes.h"

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
    SaveDataOptionsDialog dialog(QString::fromStdString(view_.saveTarget), target.isOpen(), state.sendToTarget,
                                 &view_);
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

bool DataFileCommands::openAndGraph(QString path)
{
    if (path.isEmpty())
        path = askOpenPath(&view_);
    if (path.isEmpty())
        return false;
    std::string text;
    if (!loadFileText(path.toStdString(), text)) {
        stop(text::kCannotRead);
        return false;
    }
    GraphData data;
    const ReadOutcome outcome = readDataFile(text, data);
    if (outcome == ReadOutcome::Unrecognised)
        stop(text::kUnrecognisedFile);
    view_.setGraphMode(true, 0.8);
    view_.graphWindow()->showFile(std::move(data));
    Q_EMIT view_.stateChanged();
    return outcome == ReadOutcome::Complete;
}

} // namespace vornscope

#include "datafiles/data_file_dialogs.h"

#include <QFileDialog>

namespace vornscope {
namespace {

std::function<QString()>& answerer()
{
    static std::function<QString()> answer;
    return answer;
}

const QString kFilter = QStringLiteral("Data files (*.dat);;All files (*)");
// Open and graph also takes vornctl's recordings.
const QString kOpenFilter =
    QStringLiteral("Data files and recordings (*.dat *.csv *.json *.jsonl);;Data files (*.dat);;"
                   "vornctl recordings (*.csv *.json *.jsonl);;All files (*)");

} // namespace

QString askSavePath(QWidget* parent)
{
    if (answerer())
        return answerer()();
    QFileDialog dialog(parent, QStringLiteral("Save data"), QString(), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString askOpenPath(QWidget* parent)
{
    if (answerer())
        return answerer()();
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open and graph a data file"), QString(), kOpenFilter);
}

void setFileDialogAnswer(std::function<QString()> answer)
{
    answerer() = std::move(answer);
}

} // namespace vornscope

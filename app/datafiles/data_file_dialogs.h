// The file dialogs of data files. Tests replace them with fixed answers.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vornscope {

// A save-file dialog with the default extension "dat"; empty on Cancel.
QString askSavePath(QWidget* parent);
QString askOpenPath(QWidget* parent);

// Installs an answerer for both dialogs (nullptr restores the real dialogs).
void setFileDialogAnswer(std::function<QString()> answer);

} // namespace vornscope

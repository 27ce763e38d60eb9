// "&Help Topics": the help page shipped inside the program.
#pragma once

#include <QDialog>

namespace vornscope {

class HelpWindow final : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);
};

} // namespace vornscope

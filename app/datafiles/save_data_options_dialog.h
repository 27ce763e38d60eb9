// "Save Data Options": the target file and whether stream and point data go
// to it. A line under the choices says what OK will do with them; choosing
// a new target selects sending to it, and Enter means OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vornscope {

class SaveDataOptionsDialog : public QDialog {
    Q_OBJECT
public:
    SaveDataOptionsDialog(const QString& target, bool targetOpen, bool sendToTarget, QWidget* parent = nullptr);

    QString path() const { return path_; }
    bool send() const;
    bool closeTarget() const;
    // What OK will do, as the dialog shows it.
    QString outcomeText() const;

private:
    void chooseTarget();
    void showOutcome();

    QString path_;
    QString openPath_;
    QLabel* current_;
    QPushButton* targetButton_;
    QRadioButton* send_;
    QRadioButton* doNotSend_;
    QCheckBox* close_;
    QLabel* outcome_;
};

} // namespace vornscope

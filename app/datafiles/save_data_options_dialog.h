// "Save Data Options": the target file and whether stream and point data go to it.
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

private:
    void chooseTarget();

    QString path_;
    QLabel* current_;
    QPushButton* targetButton_;
    QRadioButton* send_;
    QRadioButton* doNotSend_;
    QCheckBox* close_;
};

} // namespace vornscope

// The three connection dialogs and the per-unit "Device %d" dialog. Each
// shows the values it is given and hands back what the operator accepted.
#pragma once

#include "core/setup_values.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QRadioButton;

namespace vornscope {

// OK and Cancel under a form; OK is refused until every field reads well.
class SetupFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit SetupFormDialog(const QString& title, QWidget* parent);
    void accept() override;

protected:
    QFormLayout* form() const { return form_; }
    QLineEdit* addEdit(const QString& label, const QString& name, const QString& value);
    // Reads the fields into the values; false (after a message) when one is wrong.
    virtual bool readFields() = 0;

private:
    QFormLayout* form_;
};

class Rs232SetupDialog final : public SetupFormDialog {
    Q_OBJECT
public:
    Rs232SetupDialog(const Rs232SetupValues& values, QWidget* parent);
    const Rs232SetupValues& values() const { return values_; }

private:
    bool readFields() override;
    Rs232SetupValues values_;
    QLineEdit* count_;
    QComboBox* baud_;
    QLineEdit* readTimeout_;
    QLineEdit* writeTimeout_;
};

class IsaSetupDialog final : public SetupFormDialog {
    Q_OBJECT
public:
    IsaSetupDialog(const IsaSetupValues& values, QWidget* parent);
    const IsaSetupValues& values() const { return values_; }

private:
    bool readFields() override;
    IsaSetupValues values_;
    QLineEdit* count_;
    QLineEdit* readTimeout_;
    QLineEdit* writeTimeout_;
};

class TcpipSetupDialog final : public SetupFormDialog {
    Q_OBJECT
public:
    TcpipSetupDialog(const TcpipSetupValues& values, QWidget* parent);
    const TcpipSetupValues& values() const { return values_; }

private:
    bool readFields() override;
    TcpipSetupValues values_;
    QLineEdit* server_;
    QLineEdit* count_;
    QLineEdit* port_;
};

class UnitDialog final : public SetupFormDialog {
    Q_OBJECT
public:
    UnitDialog(const UnitDialogLook& look, const UnitEntry& entry, QWidget* parent);
    const UnitEntry& entry() const { return entry_; }

private:
    bool readFields() override;
    void updateEdit();
    UnitDialogLook look_;
    UnitEntry entry_;
    QLineEdit* value_;
    QRadioButton* first_;
    QRadioButton* second_;
};

} // namespace vornscope

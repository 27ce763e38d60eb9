#include "displays/graph_scaling_dialog.h"

#include "shell/message_boxes.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

namespace vornscope {
namespace {

QDoubleSpinBox* spinBox(const char* name, double low, double high, double value, int decimals, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

} // namespace

GraphScalingDialog::GraphScalingDialog(double verticalDistance, double pointsPerScreen, QWidget* parent)
    : QDialog(parent), distance_(spinBox("verticalDistance", 0, 300, verticalDistance, 2, this)),
      offset_(spinBox("offsetAdjustment", -180, 180, 0, 2, this)),
      points_(spinBox("pointsPerScreen", 0, 10000, pointsPerScreen, 0, this))
{
    setWindowTitle(QStringLiteral("Graph Scaling"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Vertical Distance"), distance_);
    form->addRow(QStringLiteral("Vertical Offset Adjustment"), offset_);
    form->addRow(QStringLiteral("Points per Screen"), points_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void GraphScalingDialog::accept()
{
    if (distance_->value() <= 0) {
        messageSink().show("Vertical Distance: please enter a number above 0 and up to 300.", "Vornscope",
                           MessageIcon::Exclamation, MessageButtons::Ok);
        distance_->setFocus();
        distance_->selectAll();
        return;
    }
    QDialog::accept();
}

double GraphScalingDialog::verticalDistance() const
{
    return distance_->value();
}
double GraphScalingDialog::offsetAdjustment() const
{
    return offset_->value();
}
double GraphScalingDialog::pointsPerScreen() const
{
    return points_->value();
}

} // namespace vornscope

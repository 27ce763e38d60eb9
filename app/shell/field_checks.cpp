#include "shell/field_checks.h"

#include "shell/message_boxes.h"

#include <QLineEdit>

namespace vornscope {
namespace {

void refuse(QLineEdit* edit, const QString& text)
{
    messageSink().show(text.toStdString(), "Vornscope", MessageIcon::Exclamation, MessageButtons::Ok);
    edit->setFocus();
    edit->selectAll();
}

} // namespace

std::optional<long long> readInteger(QLineEdit* edit, const QString& field, long long min, long long max)
{
    bool ok = false;
    const long long value = edit->text().trimmed().toLongLong(&ok);
    if (!ok || value < min || value > max) {
        refuse(edit, QStringLiteral("%1: please enter a whole number from %2 to %3.").arg(field).arg(min).arg(max));
        return std::nullopt;
    }
    return value;
}

std::optional<double> readReal(QLineEdit* edit, const QString& field, double min, double max)
{
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    if (!ok || value < min || value > max) {
        refuse(edit, QStringLiteral("%1: please enter a number from %2 to %3.").arg(field).arg(min).arg(max));
        return std::nullopt;
    }
    return value;
}

std::optional<QString> readText(QLineEdit* edit, const QString& field, int maxLength)
{
    const QString value = edit->text().trimmed();
    if (value.isEmpty() || value.size() > maxLength) {
        refuse(edit, QStringLiteral("%1: please enter 1 to %2 characters.").arg(field).arg(maxLength));
        return std::nullopt;
    }
    return value;
}

} // namespace vornscope

// Reading numbers and text out of dialog edits. A value that is not a number
// or lies outside the control's range is refused with a message naming the
// field, and the field gets the focus; nothing is cut or clamped silently.
#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace vornscope {

std::optional<long long> readInteger(QLineEdit* edit, const QString& field, long long min, long long max);
std::optional<double> readReal(QLineEdit* edit, const QString& field, double min, double max);
std::optional<QString> readText(QLineEdit* edit, const QString& field, int maxLength);

} // namespace vornscope

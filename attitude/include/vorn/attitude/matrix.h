// The few matrix operations the attitude maths needs, on plain arrays so that records and
// files hand their values over without conversion.
#pragma once

#include "vorn/attitude/types.h"

#include <span>

namespace vorn::attitude {

Matrix3 multiply(const Matrix3& a, const Matrix3& b);
Vector3 multiply(const Matrix3& m, const Vector3& v);
Matrix3 transpose(const Matrix3& m);

// The nine elements in the order a unit sends them, row by row.
Matrix3 matrixOfRows(std::span<const double, 9> elements);
std::array<double, 9> rowsOfMatrix(const Matrix3& m);

} // namespace vorn::attitude

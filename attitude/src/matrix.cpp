#include "vorn/attitude/matrix.h"

namespace vorn::attitude {

Matrix3 multiply(const Matrix3& a, const Matrix3& b)
{
    Matrix3 c {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                c[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return c;
}

Vector3 multiply(const Matrix3& m, const Vector3& v)
{
    Vector3 r {};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            r[i] += m[i][k] * v[k];
        }
    }
    return r;
}

Matrix3 transpose(const Matrix3& m)
{
    Matrix3 t {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            t[i][j] = m[j][i];
        }
    }
    return t;
}

Matrix3 matrixOfRows(std::span<const double, 9> elements)
{
    Matrix3 m {};
    for (std::size_t i = 0; i < 9; ++i) {
        m[i / 3][i % 3] = elements[i];
    }
    return m;
}

std::array<double, 9> rowsOfMatrix(const Matrix3& m)
{
    std::array<double, 9> elements {};
    for (std::size_t i = 0; i < 9; ++i) {
        elements[i] = m[i / 3][i % 3];
    }
    return elements;
}

} // namespace vorn::attitude

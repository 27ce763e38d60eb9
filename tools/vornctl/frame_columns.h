// The columns of one unit's measurement, shared by the stream writers and the
// record files so that both name and format every field the same way.
#pragma once

#include "measurement.h"

#include <cstdio>

namespace vornctl {

inline constexpr const char* kPositionNames[] = {"x_in", "y_in", "z_in"};
inline constexpr const char* kAngleNames[] = {"azimuth_deg", "elevation_deg", "roll_deg"};
inline constexpr const char* kMatrixNames[] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
inline constexpr const char* kQuaternionNames[] = {"q0", "q1", "q2", "q3"};

// Walks the columns of one measurement in a fixed order; `present` is false
// for a column that this unit's format lacks but another unit's has.
template <typename Visit> void forEachColumn(const FieldSet& fields, const Measurement& m, Visit visit)
{
    if (fields.position)
        for (int i = 0; i < 3; ++i)
            visit(kPositionNames[i], m.hasPosition, m.positionIn[i], 3);
    if (fields.angles)
        for (int i = 0; i < 3; ++i)
            visit(kAngleNames[i], m.hasAngles, m.anglesDeg[i], 3);
    if (fields.matrix)
        for (int i = 0; i < 9; ++i)
            visit(kMatrixNames[i], m.hasMatrix, m.matrix[i], 5);
    if (fields.quaternion)
        for (int i = 0; i < 4; ++i)
            visit(kQuaternionNames[i], m.hasQuaternion, m.quaternion[i], 5);
    if (fields.button)
        visit("button", m.hasButton, static_cast<double>(m.button), 0);
}

// ",name,name..." for a CSV header and ",v,v..." (empty where absent) for a row.
void printCsvNames(std::FILE* out, const FieldSet& fields);
void printCsvValues(std::FILE* out, const FieldSet& fields, const Measurement& m);

// {"unit":N,"position_in":[...],...} of one unit in a JSON line.
void printJsonUnit(std::FILE* out, const Measurement& m);

} // namespace vornctl

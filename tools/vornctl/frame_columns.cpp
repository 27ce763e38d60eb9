#include "frame_columns.h"

namespace vornctl {

namespace {

void printJsonArray(std::FILE* out, const char* name, const double* values, int n, int decimals)
{
    std::fprintf(out, ",\"%s\":[", name);
    for (int i = 0; i < n; ++i)
        std::fprintf(out, "%s%.*f", i == 0 ? "" : ",", decimals, values[i]);
    std::fputc(']', out);
}

} // namespace

void printCsvNames(std::FILE* out, const FieldSet& fields)
{
    forEachColumn(fields, Measurement {},
                  [out](const char* name, bool, double, int) { std::fprintf(out, ",%s", name); });
}

void printCsvValues(std::FILE* out, const FieldSet& fields, const Measurement& m)
{
    forEachColumn(fields, m, [out](const char*, bool present, double v, int decimals) {
        if (present)
            std::fprintf(out, ",%.*f", decimals, v);
        else
            std::fputc(',', out);
    });
}

void printJsonUnit(std::FILE* out, const Measurement& m)
{
    std::fprintf(out, "{\"unit\":%d", m.address);
    if (m.hasPosition)
        printJsonArray(out, "position_in", m.positionIn.data(), 3, 3);
    if (m.hasAngles)
        printJsonArray(out, "angles_deg", m.anglesDeg.data(), 3, 3);
    if (m.hasMatrix)
        printJsonArray(out, "matrix", m.matrix.data(), 9, 5);
    if (m.hasQuaternion)
        printJsonArray(out, "quaternion", m.quaternion.data(), 4, 5);
    if (m.hasButton)
        std::fprintf(out, ",\"button\":%u", m.button);
    std::fputc('}', out);
}

} // namespace vornctl

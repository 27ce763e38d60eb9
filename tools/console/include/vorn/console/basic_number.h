#pragma once
// The plain number format of the tools' screens and text files: a blank for a value of zero or
// more or "-" for a negative one, the value with at most 7 significant digits (trailing zeros
// dropped, no zero before the point of a value below 1, no point for whole numbers), and one
// trailing blank: 0 is " 0 ", 0.188293457 is " .1882935 ", -2.5 is "-2.5 ". Values from 1e-5 up
// to 9999999 are written plainly; outside that range in scaled form (" 1.234568E+07 ").
#include <string>

namespace vorn::console {

std::string basicNumber(double value);
// The same without the scaled form: plain decimal whatever the size (" .000009023994 "), as the
// noise file's format has it, for text files read back by the tools.
std::string plainNumber(double value);
// The digits alone, with a "-" for a negative value but no blanks: for showing current values.
std::string basicNumberDigits(double value);

} // namespace vorn::console

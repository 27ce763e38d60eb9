// The model identification a unit answers (examine value 15), whatever its link.
#pragma once

#include <string>

namespace vorn::sim {

// Ten characters of the model string, blank padded, as examine value 15 answers.
std::string paddedModel(const std::string& model);

} // namespace vorn::sim

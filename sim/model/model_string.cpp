#include "model/model_string.h"

namespace vorn::sim {

std::string paddedModel(const std::string& model)
{
    std::string text = model.substr(0, 10);
    text.resize(10, ' ');
    return text;
}

} // namespace vorn::sim

#include "output_files.h"

#include "vorn/humsift/output_target.h"

namespace vorn::humsift {

std::string OutputFiles::askName(std::string_view prompt, const std::string& current, std::string_view suffix)
{
    console::Console& con = entry_.console();
    std::string name = current;
    for (;;) {
        name = entry_.askText(prompt, name);
        if (name.empty())
            continue;
        const std::string path = name + std::string(suffix);
        switch (classifyOutputTarget(path, analysed_)) {
        case OutputTarget::NewFile:
        case OutputTarget::OwnOutput: return name;
        case OutputTarget::AnalysedFile:
            con.printWrapped(path + " is a file this analysis reads; Humsift never writes over it. Please give "
                                    "another name.");
            break;
        case OutputTarget::OtherFile:
            con.printWrapped(path + " already exists and was not written by Humsift.");
            if (entry_.askChoice({}, "Keep it and give another name ( 0 ),  replace it ( 1 ) ", 0, {0, 1}) == 1)
                return name;
            break;
        }
    }
}

} // namespace vorn::humsift

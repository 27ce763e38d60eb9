#pragma once
// What writing a file would replace, looked at before Humsift writes a rate file, a spectrum file
// or a picture: a recording needs the unit to collect again, so it is never written over, and a
// file Humsift did not write is replaced only when the user says so.
#include <string>
#include <vector>

namespace vorn::humsift {

enum class OutputTarget {
    NewFile,      // nothing there yet
    OwnOutput,    // a rate file, a spectrum file or a bitmap, as Humsift writes them
    AnalysedFile, // one of the files the analysis has read (the same file under any name)
    OtherFile,    // anything else, such as a noise recording
};

OutputTarget classifyOutputTarget(const std::string& path, const std::vector<std::string>& analysedFiles);

} // namespace vorn::humsift

#pragma once
// The names of the files Humsift writes (rate files, spectrum files, pictures), asked so that the
// files the analysis reads are never written over and other people's files only with consent.
#include <string>
#include <string_view>
#include <vector>

#include "vorn/console/value_entry.h"

namespace vorn::humsift {

class OutputFiles {
public:
    explicit OutputFiles(console::ValueEntry& entry) : entry_(entry) {}

    // A noise or spectrum file the analysis has read.
    void addAnalysed(const std::string& path) { analysed_.push_back(path); }

    // Asks until the answer (with `suffix` added) may be written: a file being analysed is refused,
    // an existing file that Humsift did not write is replaced only when the user says so. Returns
    // the name as typed, without the suffix.
    std::string askName(std::string_view prompt, const std::string& current, std::string_view suffix = {});

private:
    console::ValueEntry& entry_;
    std::vector<std::string> analysed_;
};

} // namespace vorn::humsift

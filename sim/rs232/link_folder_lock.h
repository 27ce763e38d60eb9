// Claims a folder of COM<n> links for one simulator: a second simulator given
// the same folder would replace the first one's links and delete them when it
// stops. The claim is an exclusive lock on a file in the folder, so it ends
// with the process however that ends.
#pragma once

#include <filesystem>

namespace vorn::sim {

class LinkFolderLock {
public:
    // Throws std::runtime_error naming the live simulator's process when the folder is taken.
    explicit LinkFolderLock(const std::filesystem::path& folder);
    ~LinkFolderLock();
    LinkFolderLock(const LinkFolderLock&) = delete;
    LinkFolderLock& operator=(const LinkFolderLock&) = delete;

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

} // namespace vorn::sim

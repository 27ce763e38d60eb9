// Large buffers filled in one go (a data file's text, a graph's points):
// the kernel maps them in 2 MB pages where it can, so filling them takes a
// few hundred page faults instead of tens of thousands. On virtual machines
// each 4 KB fault costs microseconds, which made up most of opening a file.
#pragma once

#include <cstddef>

namespace vornscope {

// Advises for the whole 2 MB pages inside [data, data + bytes); call it
// before the buffer is first written. Small buffers are left alone.
void adviseHugePages(const void* data, std::size_t bytes);

} // namespace vornscope

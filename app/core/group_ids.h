// Group identifiers: each new document takes the next number of one
// process-wide counter that starts at 1.
#pragma once

namespace vornscope {

int nextGroupId();

} // namespace vornscope

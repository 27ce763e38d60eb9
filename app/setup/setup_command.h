// The three setup commands of the view: run the setup flow with real dialogs
// and the real library, then take its result into the document and view.
#pragma once

#include "core/vorn_library.h"

namespace vornscope {

class CVornscopeView;

class SetupCommand {
public:
    explicit SetupCommand(CVornscopeView& view) : view_(view) {}
    void run(Transport link);

private:
    CVornscopeView& view_;
};

} // namespace vornscope

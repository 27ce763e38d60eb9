#pragma once
// The dialogues of Humgather, each run from the start-up sequence or the operational menu.
#include "session.h"

namespace vorn::humgather {

// Start-up (humgather_program.cpp, port_setup.cpp, startup_checks.cpp).
bool chooseAndOpenPort(Session& session); // false: the port could not be opened
void configureVornsets(Session& session);
void runEchoTest(Session& session);
void runStartupChecks(Session& session);

// Examine and change values (examine_menu.cpp, change_menu.cpp).
void runExamineMenu(Session& session);
void examineValue(Session& session, int parameter);
void runChangeMenu(Session& session);

// Raw noise collection and the hand-over to Humsift (noise_collection.cpp, humsift_handover.cpp).
void runNoiseCollection(Session& session);
void handOverToHumsift(Session& session);

// Position/angles (position_display.cpp, pose_file_branch.cpp, group_display.cpp).
void runPositionDisplay(Session& session);
void runPoseFileBranch(Session& session);
void runGroupDisplay(Session& session);

} // namespace vorn::humgather

// GroupSession: the one owner of a document's group of units. A setup puts a
// woken group in, Shut Down and closing the document take it out. Whatever
// uses the group (the acquisition modes and their thread) registers here and
// is told before the group is shut down or replaced; when that call returns
// it has let go of the group, so no thread ever reads a group that is gone.
#pragma once

#include "core/vorn_group.h"
#include "core/vorn_library.h"

#include <functional>
#include <memory>
#include <vector>

namespace vornscope {

class GroupSession {
public:
    GroupSession(VornLibrary& library, int groupId) : library_(library), groupId_(groupId) {}
    // Shuts a woken group down; the users must have gone already.
    ~GroupSession();
    GroupSession(const GroupSession&) = delete;
    GroupSession& operator=(const GroupSession&) = delete;

    int groupId() const { return groupId_; }
    // The group of the last setup (woken or failed), null before the first.
    // Valid on the user-interface thread until the next adopt().
    CVornGroup* group() const { return group_.get(); }
    // A setup succeeded and no shut-down followed.
    bool woken() const { return woken_; }

    // `goingAway` runs before the group is shut down or replaced and must
    // leave the group alone once it returns. The id removes it again.
    int addUser(std::function<void()> goingAway);
    void removeUser(int id);

    // Tells every user that the group is going away (a setup is about to
    // shut it down and wake a new one). The group itself stays until adopt().
    void release();
    // Takes the result of a setup, which shut the old group down before it
    // woke the new one: the new group and whether it woke. Call release()
    // before the setup, while the old group can still be talked to.
    void adopt(std::unique_ptr<CVornGroup> group, bool woken);
    // Ends the users' work with the group, then shuts it down. Nothing
    // happens when no group is woken.
    void shutDown();

private:
    struct User {
        int id;
        std::function<void()> goingAway;
    };

    VornLibrary& library_;
    int groupId_;
    std::unique_ptr<CVornGroup> group_;
    bool woken_ = false;
    std::vector<User> users_;
    int nextUserId_ = 1;
};

} // namespace vornscope

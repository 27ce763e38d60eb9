#include "core/group_session.h"

#include <algorithm>

namespace vornscope {

GroupSession::~GroupSession()
{
    shutDown();
}

int GroupSession::addUser(std::function<void()> goingAway)
{
    users_.push_back({nextUserId_, std::move(goingAway)});
    return nextUserId_++;
}

void GroupSession::removeUser(int id)
{
    std::erase_if(users_, [id](const User& user) { return user.id == id; });
}

void GroupSession::release()
{
    // A copy: a user may remove itself while it is told.
    const std::vector<User> users = users_;
    for (const User& user : users)
        user.goingAway();
}

void GroupSession::adopt(std::unique_ptr<CVornGroup> group, bool woken)
{
    // The setup has shut the old group down already: users let go of it
    // without talking to it.
    woken_ = false;
    release();
    group_ = std::move(group);
    woken_ = woken && group_ != nullptr;
}

void GroupSession::shutDown()
{
    if (!woken_)
        return;
    release();
    library_.shutDown(groupId_);
    woken_ = false;
    if (group_)
        group_->woken = false;
}

} // namespace vornscope

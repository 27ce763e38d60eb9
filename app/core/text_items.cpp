#include "core/text_items.h"

#include <algorithm>

namespace vornscope {

std::optional<CTextItem> TextItemList::add(CTextItem item)
{
    auto same =
        std::find_if(items_.begin(), items_.end(), [&](const CTextItem& t) { return t.x == item.x && t.y == item.y; });
    if (same == items_.end()) {
        items_.push_back(std::move(item));
        return std::nullopt;
    }
    CTextItem old = std::move(*same);
    *same = std::move(item);
    return old;
}

const CTextItem* TextItemList::at(int x, int y) const
{
    auto it = std::find_if(items_.begin(), items_.end(), [&](const CTextItem& t) { return t.x == x && t.y == y; });
    return it == items_.end() ? nullptr : &*it;
}

} // namespace vornscope

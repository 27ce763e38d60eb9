// CTextItem: one line of text the view draws, and the document's list of them.
// Adding an item at the place of a listed one replaces it in place, so a
// status line or a numeric read-out never piles up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornscope {

struct CTextItem {
    std::string text;
    int x = 0;
    int y = 0;
    std::uint32_t textColour = 0x000000; // colour words 0x00BBGGRR
    std::uint32_t background = 0xFFFFFF;
    // Placed on the client area (a corner read-out), not on the numeric
    // display's page: it stays put while the page scrolls.
    bool pinned = false;
};

class TextItemList {
public:
    // Returns the item that was replaced, if any, so the view can repaint the
    // larger of the old and the new text.
    std::optional<CTextItem> add(CTextItem item);
    void clear() { items_.clear(); }
    const std::vector<CTextItem>& items() const { return items_; }
    const CTextItem* at(int x, int y) const;

private:
    std::vector<CTextItem> items_;
};

// Where the status lines go.
constexpr int kStatusX = 5;
constexpr int kStatusY = 5;

} // namespace vornscope

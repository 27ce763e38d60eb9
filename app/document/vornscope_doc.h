// CVornscopeDoc: one group of units and its acquisition settings, and the
// text lines the view draws.
#pragma once

#include "core/text_items.h"
#include "core/vorn_group.h"

#include <QObject>

#include <memory>
#include <optional>

namespace vornscope {

class CVornscopeDoc : public QObject {
    Q_OBJECT
public:
    explicit CVornscopeDoc(QObject* parent = nullptr);

    int groupId() const { return groupId_; }
    CVornGroup* group() const { return group_.get(); }
    void setGroup(std::unique_ptr<CVornGroup> group) { group_ = std::move(group); }

    int samplesPerPoint() const { return samplesPerPoint_; }
    void setSamplesPerPoint(int samples) { samplesPerPoint_ = samples; }

    const TextItemList& textItems() const { return textItems_; }
    // Replaces the item at the same place, if any.
    void addTextItem(CTextItem item);
    void clearTextItems();

Q_SIGNALS:
    // `old` is the item that was replaced, so the view can repaint the larger of both.
    void textItemChanged(const vornscope::CTextItem& item, const std::optional<vornscope::CTextItem>& old);
    void textItemsCleared();

private:
    int groupId_;
    int samplesPerPoint_ = 5;
    std::unique_ptr<CVornGroup> group_;
    TextItemList textItems_;
};

} // namespace vornscope

// CVornscopeDoc: one group of units and its acquisition settings, and the
// text lines the view draws. The group lives in the document's GroupSession,
// the one place that wakes, replaces and shuts it down.
#pragma once

#include "core/group_session.h"
#include "core/text_items.h"

#include <QObject>

#include <optional>

namespace vornscope {

class CVornscopeDoc : public QObject {
    Q_OBJECT
public:
    explicit CVornscopeDoc(QObject* parent = nullptr);

    int groupId() const { return session_.groupId(); }
    GroupSession& session() { return session_; }
    // The group of the last setup, null before the first.
    CVornGroup* group() const { return session_.group(); }

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
    GroupSession session_;
    int samplesPerPoint_ = 5;
    TextItemList textItems_;
};

} // namespace vornscope

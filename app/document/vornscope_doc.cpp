#include "document/vornscope_doc.h"

#include "core/group_ids.h"

namespace vornscope {

CVornscopeDoc::CVornscopeDoc(QObject* parent) : QObject(parent), session_(programLibrary(), nextGroupId()) {}

void CVornscopeDoc::addTextItem(CTextItem item)
{
    const CTextItem copy = item;
    const auto old = textItems_.add(std::move(item));
    Q_EMIT textItemChanged(copy, old);
}

void CVornscopeDoc::clearTextItems()
{
    textItems_.clear();
    Q_EMIT textItemsCleared();
}

} // namespace vornscope

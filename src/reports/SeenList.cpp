#include "reports/SeenList.h"

namespace quillan {

void SeenList::clear()
{
    joined_.clear();
    entries_.clear();
}

bool SeenList::contains(QStringView entry) const
{
    if (joined_.isEmpty())
        return false;
    return entries_.contains(entry) || QStringView(joined_).contains(entry);
}

void SeenList::add(QStringView entry)
{
    joined_ += u':';
    joined_ += entry;
    entries_.insert(entry);
}

} // namespace quillan

#include "config/MovieCollection.h"

#include "platform/vb/VbError.h"

namespace config {

Movie& MovieCollection::Item(int index) {
    if (index < 1 || index > Count()) vb::Raise(vb::ErrNum::SubscriptOutOfRange);
    return items_[static_cast<size_t>(index - 1)];
}

}  // namespace config

#pragma once

#include <cstdlib>
#include <memory>
#include <plist/plist.h>
#include <string>
#include <string_view>

// Owning handles on libplist nodes and the one XML form the store writes.
namespace PlistNode {

struct Deleter {
    void operator()(void *node) const
    {
        if (node)
            plist_free(static_cast<plist_t>(node));
    }
};
using Ptr = std::unique_ptr<void, Deleter>;

// Calls visit(key, value) for each entry of a dictionary node, in the node's own order.
template <typename Visit> void forEachEntry(plist_t dict, Visit visit)
{
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(dict, &it);
    if (!it)
        return;
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dict, it, &key, &value);
        if (!key)
            break;
        visit(static_cast<const char *>(key), value);
        std::free(key);
    }
    std::free(it);
}

// XML or binary property list; null when the bytes are neither. A leading UTF-8 byte-order
// mark is skipped (libplist refuses it, some editors write it).
Ptr parse(std::string_view bytes);

// The XML form with every dictionary's keys in UTF-16 order, so that equal contents give
// equal bytes whoever wrote them. Empty on failure.
std::string toXml(plist_t node);

} // namespace PlistNode

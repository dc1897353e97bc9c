#include "PlistNode.h"

#include "PlistText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace PlistNode {

namespace {

// Deep enough for any real file; a hostile one cannot exhaust the stack.
constexpr int kMaxDepth = 512;

plist_t sortedCopy(plist_t node, int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
        std::vector<std::pair<std::u16string, std::pair<std::string, plist_t>>> entries;
        forEachEntry(node, [&](const char *key, plist_t value) {
            std::string name(key);
            entries.emplace_back(PlistText::toUtf16(name), std::make_pair(name, value));
        });
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        plist_t dict = plist_new_dict();
        for (const auto &entry : entries) {
            if (plist_t value = sortedCopy(entry.second.second, depth + 1))
                plist_dict_set_item(dict, entry.second.first.c_str(), value);
        }
        return dict;
    }
    case PLIST_ARRAY: {
        plist_t array = plist_new_array();
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            if (plist_t value = sortedCopy(plist_array_get_item(node, i), depth + 1))
                plist_array_append_item(array, value);
        }
        return array;
    }
    case PLIST_NONE:
        return nullptr;
    default:
        return plist_copy(node);
    }
}

} // namespace

Ptr parse(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), uint32_t(bytes.size()), &root);
    return Ptr(root);
}

std::string toXml(plist_t node)
{
    if (!node)
        return {};
    const Ptr sorted(sortedCopy(node, 0));
    if (!sorted)
        return {};
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(sorted.get(), &xml, &length);
    if (!xml)
        return {};
    std::string out(xml, length);
    plist_to_xml_free(xml);
    return out;
}

} // namespace PlistNode

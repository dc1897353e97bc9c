// Both property-list readers, the XML writer and the text form the defaults tool prints.
// Whatever is read must be writable, and what is written must read back to the same bytes.
// The fast reader of plain XML may give up, but what it reads expat must read the same.

#include "platform/prefs/PlistText.h"
#include "platform/prefs/PlistValue.h"
#include "platform/prefs/PlistXml.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    if (const auto plain = Plist::parsePlainXml(bytes)) {
        const auto judged = Plist::parseXmlWithExpat(bytes);
        if (!judged || !(*judged == *plain))
            std::abort();
    }
    const auto value = Plist::parse(bytes);
    if (!value)
        return 0;
    PlistText::describe(*value);
    const auto xml = Plist::toXml(*value);
    if (!xml)
        std::abort();
    const auto again = Plist::parse(*xml);
    if (!again || Plist::toXml(*again) != xml)
        std::abort();
    return 0;
}

// A .strings file in any of its forms: text (UTF-8 or UTF-16), XML or binary property list.

#include "platform/bundle/StringsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    StringsTable::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

// The stored-language probe's scanner on whatever the preferences tool printed, and the entry of
// an application's languages the code it finds stands for.

#include "language/StoredLanguage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray output(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> code = StoredLanguage::parseReadOutput(output);
    if (!code)
        return 0;
    // A code is letters first, then letters, digits, '_' or '-', copied from the output.
    if (code->isEmpty() || !code->front().isLetter() || !output.contains(code->toLatin1()))
        std::abort();
    for (QChar c : *code) {
        if (c.unicode() > 0x7f || !(c.isLetterOrNumber() || c == u'_' || c == u'-'))
            std::abort();
    }
    static const QStringList langs{"en",     "French",   "zh-Hant", "zh_TW",  "pt-PT",
                                   "es-419", "Japanese", "de_CH",   "sr-Latn"};
    const int index = StoredLanguage::indexInLanguages(*code, langs);
    if (index < -1 || index >= langs.size())
        std::abort();
    return 0;
}

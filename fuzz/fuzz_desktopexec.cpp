// An Exec line, anything a desktop entry's author wrote. Whatever its arguments are, writing
// each one quoted and reading the line back gives the same arguments: what Vexilo writes into
// an override runs what the entry ran.

#include "platform/desktop/DesktopExec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString exec = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const DesktopExec::Context context{QStringLiteral("Name"), QStringLiteral("icon"),
                                       QStringLiteral("/a.desktop")};
    const auto arguments = DesktopExec::arguments(exec, context);
    if (!arguments)
        return 0;
    QStringList quoted;
    for (const QString &argument : *arguments)
        quoted.append(DesktopExec::quote(argument));
    const auto again = DesktopExec::arguments(quoted.join(QLatin1Char(' ')), context);
    if (!again || *again != *arguments)
        __builtin_trap();
    return 0;
}

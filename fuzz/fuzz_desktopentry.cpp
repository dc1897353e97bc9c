// A desktop entry as anyone may write one into an applications folder: its groups and keys, its
// name in the user's language, its lists and flags, and the arguments of its Exec line.

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/DesktopExec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto entry = DesktopEntry::parse(text);
    if (!entry)
        return 0;
    const QString name =
        entry->localeString(QStringLiteral("Name"), DesktopEntry::localeKeys("sr_RS.UTF-8@latin"));
    entry->list(QStringLiteral("Categories"));
    entry->boolean(QStringLiteral("NoDisplay"));
    entry->value(QStringLiteral("X-GNOME-Gettext-Domain"));
    const auto arguments = DesktopExec::arguments(
        entry->value(QStringLiteral("Exec")),
        {name, entry->value(QStringLiteral("Icon")), QStringLiteral("/a.desktop")});
    if (arguments) {
        const qsizetype program = DesktopExec::programIndex(*arguments);
        if (program < 0 || program > arguments->size())
            __builtin_trap();
        DesktopExec::flatpakApplication(*arguments);
    }
    return 0;
}

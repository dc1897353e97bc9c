#include "BoundedName.h"

namespace BoundedName {

QString bounded(const QString &name)
{
    if (name.size() <= kMaxLength)
        return name;
    qsizetype keep = kMaxLength - 1;
    if (name.at(keep - 1).isHighSurrogate())
        --keep;
    return name.left(keep) + QChar(0x2026);
}

} // namespace BoundedName

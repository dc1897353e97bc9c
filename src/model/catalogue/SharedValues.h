#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QSet>

namespace SharedValues {

// What many listings hold alike, held once: the sets of localisation folders bundles have (most
// have one of a few), and where their icons lie ("Contents/Resources/AppIcon.icns"). Listings
// are made on the loading thread and the main thread. Bounded: a catalogue of odd bundles makes
// new copies rather than grow the pool without end.
template <typename T> T shared(const T &value)
{
    static QMutex mutex;
    static QSet<T> pool;
    if (value.isEmpty() || value.size() > 256)
        return value;
    QMutexLocker lock(&mutex);
    const auto it = pool.constFind(value);
    if (it != pool.cend())
        return *it;
    if (pool.size() >= 4096)
        pool.clear();
    pool.insert(value);
    return value;
}

} // namespace SharedValues

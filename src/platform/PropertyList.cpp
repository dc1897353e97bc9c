#include "PropertyList.h"

#include "prefs/PlistNode.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>
#include <QVariantList>
#include <QVariantMap>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <plist/plist.h>

namespace {

// Property-list dates count seconds from 2001-01-01T00:00:00Z.
constexpr qint64 kReferenceDateMSecs = 978307200000LL;

// Deep enough for any real file; a hostile one cannot exhaust the stack.
constexpr int kMaxDepth = 512;

struct PlistDeleter {
    void operator()(plist_t node) const
    {
        if (node)
            plist_free(node);
    }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QDateTime dateFromNode(plist_t node)
{
    int32_t sec = 0;
    int32_t usec = 0;
    plist_get_date_val(node, &sec, &usec);
    // libplist splits the stored seconds into a truncated whole part and the magnitude of the
    // fraction, so the fraction of a date before 2001 counts backwards.
    const qint64 fractionMSecs = (qint64(usec) + 500) / 1000;
    const qint64 msecs = qint64(sec) * 1000 + (sec < 0 ? -fractionMSecs : fractionMSecs);
    return QDateTime::fromMSecsSinceEpoch(kReferenceDateMSecs + msecs, Qt::UTC);
}

QVariant toVariant(plist_t node, int depth)
{
    if (!node || depth > kMaxDepth)
        return {};
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        // Negative integers come back two's-complement encoded.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qlonglong(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return text ? QString::fromUtf8(text, qsizetype(length)) : QString();
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *bytes = plist_get_data_ptr(node, &length);
        return bytes ? QByteArray(bytes, qsizetype(length)) : QByteArray();
    }
    case PLIST_DATE:
        return dateFromNode(node);
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return qlonglong(value);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        list.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            QVariant item = toVariant(plist_array_get_item(node, i), depth + 1);
            if (item.isValid())
                list.append(std::move(item));
        }
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        PlistNode::forEachEntry(node, [&](const char *key, plist_t value) {
            QVariant item = toVariant(value, depth + 1);
            if (item.isValid())
                map.insert(QString::fromUtf8(key), std::move(item));
        });
        return map;
    }
    case PLIST_NONE:
        break;
    }
    return {};
}

plist_t dateNode(const QDateTime &date)
{
    const qint64 msecs = date.toMSecsSinceEpoch() - kReferenceDateMSecs;
    qint64 sec = msecs / 1000;
    qint64 rest = msecs % 1000;
    if (rest < 0) {
        sec -= 1;
        rest += 1000;
    }
    // The library keeps 32-bit seconds (1933 to 2069); later or earlier dates are pinned.
    if (sec > std::numeric_limits<int32_t>::max()) {
        sec = std::numeric_limits<int32_t>::max();
        rest = 0;
    } else if (sec < std::numeric_limits<int32_t>::min()) {
        sec = std::numeric_limits<int32_t>::min();
        rest = 0;
    }
    return plist_new_date(int32_t(sec), int32_t(rest * 1000));
}

plist_t toNode(const QVariant &value, int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return plist_new_uint(uint64_t(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return plist_new_uint(uint64_t(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        return date.isValid() ? dateNode(date) : nullptr;
    }
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return date.isValid() ? dateNode(date.startOfDay(QTimeZone::utc())) : nullptr;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (plist_t item = toNode(it.value(), depth + 1))
                plist_dict_set_item(dict, it.key().toUtf8().constData(), item);
        }
        return dict;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        const QVariantList list = value.toList();
        for (const QVariant &element : list) {
            if (plist_t item = toNode(element, depth + 1))
                plist_array_append_item(array, item);
        }
        return array;
    }
    case QMetaType::UnknownType:
        return nullptr;
    default:
        break;
    }
    // Anything else that reads as text (QString, QChar, QUrl...) is written as a string.
    if (value.canConvert<QString>())
        return plist_new_string(value.toString().toUtf8().constData());
    return nullptr;
}

} // namespace

namespace PropertyList {

std::optional<QVariant> parse(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    // libplist rejects XML that starts with a byte-order mark, which some editors write.
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    if (view.isEmpty() || view.size() > qsizetype(std::numeric_limits<uint32_t>::max()))
        return std::nullopt;

    plist_t root = nullptr;
    plist_from_memory(view.data(), uint32_t(view.size()), &root);
    PlistPtr owner(root);
    if (!root)
        return std::nullopt;
    QVariant result = toVariant(root, 0);
    if (!result.isValid())
        return std::nullopt;
    return result;
}

QByteArray toXml(const QVariant &value)
{
    // A value that cannot be written at all becomes an empty dictionary, never an empty file.
    plist_t node = toNode(value, 0);
    PlistPtr owner(node ? node : plist_new_dict());
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(owner.get(), &xml, &length);
    if (!xml)
        return {};
    QByteArray out(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return out;
}

} // namespace PropertyList

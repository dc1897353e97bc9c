#include "platform/preferences/PropertyList.h"

#include "platform/prefs/PlistText.h"
#include "platform/prefs/PlistXml.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>
#include <QVariantList>
#include <QVariantMap>

namespace {

QString toQString(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// UTF-8 of a string without lone surrogates, which have no UTF-8 form.
std::optional<std::string> toUtf8(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return std::nullopt;
    }
    return text.toStdString();
}

std::optional<PlistValue> fromDate(const QDateTime &date)
{
    if (!date.isValid())
        return std::nullopt;
    const double seconds = Plist::secondsFromUnixMSecs(date.toMSecsSinceEpoch());
    if (!Plist::isDateInRange(seconds))
        return std::nullopt;
    return PlistValue::date(seconds);
}

std::optional<PlistValue> fromVariantAt(const QVariant &value, int depth)
{
    if (depth > Plist::kMaxDepth)
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return PlistValue::boolean(value.toBool());
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Char:
        return PlistValue::integer(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return PlistValue::unsignedInteger(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return PlistValue::real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return PlistValue::data(bytes.toStdString());
    }
    case QMetaType::QDateTime:
        return fromDate(value.toDateTime());
    case QMetaType::QDate:
        return fromDate(value.toDate().startOfDay(QTimeZone::utc()));
    case QMetaType::QString:
    case QMetaType::QChar: {
        auto text = toUtf8(value.toString());
        if (!text || !PlistText::isPlistText(*text))
            return std::nullopt;
        return PlistValue::string(std::move(*text));
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        PlistValue::Dictionary entries;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            auto key = toUtf8(it.key());
            auto item = fromVariantAt(it.value(), depth + 1);
            if (!key || !item || !PlistText::isPlistText(*key))
                return std::nullopt;
            entries.insert_or_assign(std::move(*key), std::move(*item));
        }
        return PlistValue::dictionary(std::move(entries));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        PlistValue::Array items;
        const QVariantList list = value.toList();
        for (const QVariant &element : list) {
            auto item = fromVariantAt(element, depth + 1);
            if (!item)
                return std::nullopt;
            items.push_back(std::move(*item));
        }
        return PlistValue::array(std::move(items));
    }
    default:
        return std::nullopt;
    }
}

} // namespace

namespace PropertyList {

QVariant toVariant(const PlistValue &value)
{
    switch (value.type()) {
    case PlistValue::Type::Boolean:
        return value.toBool();
    case PlistValue::Type::Integer:
        if (value.isUnsigned())
            return qulonglong(value.toInteger());
        return qlonglong(value.toInteger());
    case PlistValue::Type::Real:
        return value.toReal();
    case PlistValue::Type::String:
        return toQString(value.bytes());
    case PlistValue::Type::Data:
        return QByteArray::fromStdString(value.bytes());
    case PlistValue::Type::Date:
        return QDateTime::fromMSecsSinceEpoch(Plist::unixMSecs(value.toDate()), QTimeZone::utc());
    case PlistValue::Type::Array: {
        QVariantList list;
        list.reserve(qsizetype(value.toArray().size()));
        for (const PlistValue &item : value.toArray())
            list.append(toVariant(item));
        return list;
    }
    case PlistValue::Type::Dictionary: {
        QVariantMap map;
        for (const auto &[key, item] : value.toDictionary())
            map.insert(toQString(key), toVariant(item));
        return map;
    }
    }
    return {};
}

std::optional<PlistValue> fromVariant(const QVariant &value)
{
    return fromVariantAt(value, 0);
}

std::optional<QVariant> parse(const QByteArray &bytes)
{
    const auto value = Plist::parse(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (!value)
        return std::nullopt;
    return toVariant(*value);
}

QByteArray toXml(const QVariant &value)
{
    const auto plist = fromVariant(value);
    const auto xml = plist ? Plist::toXml(*plist) : std::nullopt;
    return xml ? QByteArray::fromStdString(*xml) : QByteArray();
}

} // namespace PropertyList

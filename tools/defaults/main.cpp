// The preferences command-line tool: reads, writes and deletes values of the preferences
// store, and prints them in the old-style property-list text form.
//
// It runs without a QCoreApplication: Vexilo waits for it on its main thread, so it starts
// fast and needs nothing but the store.

#include "PreferencesStore.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <optional>

namespace {

const char kUsage[] = "usage: defaults read DOMAIN [KEY]\n"
                      "       defaults write DOMAIN KEY VALUE\n"
                      "       defaults write DOMAIN KEY -string VALUE\n"
                      "       defaults write DOMAIN KEY -int NUMBER\n"
                      "       defaults write DOMAIN KEY -bool YES|NO\n"
                      "       defaults write DOMAIN KEY -array [VALUE ...]\n"
                      "       defaults delete DOMAIN KEY\n";

void put(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int fail(const QString &message)
{
    put(stderr, message.toUtf8() + '\n');
    return 1;
}

int usage()
{
    std::fputs(kUsage, stderr);
    return 1;
}

// Bare strings: ASCII letters, digits and '_'. The underscore stays bare so that a code such
// as en_GB prints as the caller's language scan expects (it takes the leading letters of the
// first element); everything else, '-' and '.' included, is quoted.
bool printsBare(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        const bool plain =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
        if (!plain)
            return false;
    }
    return true;
}

// Output stays 7-bit ASCII: the caller decodes it as ASCII, so anything else is escaped.
QByteArray quoted(const QString &s)
{
    if (printsBare(s))
        return s.toLatin1();
    QByteArray out("\"");
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u >= 0x20 && u < 0x7f) {
                out += char(u);
            } else {
                out += "\\U";
                out += QByteArray::number(u, 16).rightJustified(4, '0');
            }
        }
    }
    out += '"';
    return out;
}

QByteArray hexData(const QByteArray &data)
{
    QByteArray out("<");
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            out += ' ';
        out += data.mid(i, 1).toHex();
    }
    out += '>';
    return out;
}

QByteArray describe(const QVariant &value, int depth)
{
    const QByteArray indent(4 * depth, ' ');
    const QByteArray inner(4 * (depth + 1), ' ');
    switch (value.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        const QVariantList list = value.toList();
        QByteArray out("(\n");
        for (qsizetype i = 0; i < list.size(); ++i) {
            out += inner + describe(list.at(i), depth + 1);
            out += i + 1 < list.size() ? ",\n" : "\n";
        }
        return out + indent + ')';
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        QByteArray out("{\n");
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            out += inner + quoted(it.key()) + " = " + describe(it.value(), depth + 1) + ";\n";
        return out + indent + '}';
    }
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString().toLatin1();
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDateTime:
        return '"' +
               value.toDateTime()
                   .toUTC()
                   .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   .toLatin1() +
               " +0000\"";
    case QMetaType::QByteArray:
        return hexData(value.toByteArray());
    default:
        return quoted(value.toString());
    }
}

QString pairMissing(const QString &domain, const QString &key)
{
    return QStringLiteral("The domain/default pair of (%1, %2) does not exist").arg(domain, key);
}

std::optional<QVariant> parseTyped(const QString &type, const QString &text)
{
    if (type == QLatin1String("-string"))
        return QVariant(text);
    if (type == QLatin1String("-int") || type == QLatin1String("-integer")) {
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok);
        return ok ? std::optional<QVariant>(QVariant(n)) : std::nullopt;
    }
    if (type == QLatin1String("-bool") || type == QLatin1String("-boolean")) {
        const QString t = text.toLower();
        if (t == QLatin1String("yes") || t == QLatin1String("true") || t == QLatin1String("1"))
            return QVariant(true);
        if (t == QLatin1String("no") || t == QLatin1String("false") || t == QLatin1String("0"))
            return QVariant(false);
    }
    return std::nullopt;
}

int run(const QStringList &args)
{
    if (args.size() < 2)
        return usage();
    const QString &command = args.at(0);
    const QString &domain = args.at(1);

    const bool known = (command == QLatin1String("read") && args.size() <= 3) ||
                       (command == QLatin1String("write") && args.size() >= 4) ||
                       (command == QLatin1String("delete") && args.size() == 3);
    if (!known)
        return usage();
    if (!PreferencesStore::isValidDomain(domain))
        return fail(QStringLiteral("defaults: invalid domain name %1").arg(domain));

    PreferencesStore store(PreferencesStore::defaultDirectory());

    if (command == QLatin1String("read")) {
        if (args.size() == 2) {
            if (!QFile::exists(store.pathForDomain(domain)))
                return fail(QStringLiteral("Domain %1 does not exist").arg(domain));
            put(stdout, describe(store.read(domain), 0) + '\n');
            return 0;
        }
        const auto value = store.value(domain, args.at(2));
        if (!value)
            return fail(pairMissing(domain, args.at(2)));
        put(stdout, describe(*value, 0) + '\n');
        return 0;
    }

    const QString &key = args.at(2);
    if (command == QLatin1String("delete")) {
        bool existed = false;
        const bool ok =
            store.update(domain, [&](QVariantMap &map) { existed = map.remove(key) != 0; });
        if (!ok)
            return fail(QStringLiteral("defaults: could not write domain %1").arg(domain));
        return existed ? 0 : fail(pairMissing(domain, key));
    }

    QVariant value;
    const QString &first = args.at(3);
    if (first == QLatin1String("-array")) {
        value = QVariant(QStringList(args.mid(4)));
    } else if (args.size() == 4) {
        // A bare word after the key is a string; a flag there needs its value.
        if (first.startsWith(QLatin1Char('-')) && first.size() > 1)
            return usage();
        value = QVariant(first);
    } else if (args.size() == 5) {
        const auto typed = parseTyped(first, args.at(4));
        if (!typed)
            return usage();
        value = *typed;
    } else {
        return usage();
    }
    if (!store.setValue(domain, key, value))
        return fail(QStringLiteral("defaults: could not write domain %1").arg(domain));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QFile::decodeName(argv[i]));
    const int status = run(args);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return 1;
    return status;
}

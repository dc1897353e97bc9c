#include "platform/desktop/DesktopExec.h"

#include <QFileInfo>
#include <unistd.h>

namespace DesktopExec {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// One argument as it is being read.
struct Word {
    QString text;
    // Something other than field codes standing for no file: text, or a quoted empty string.
    bool literal = false;
    // Made of "%i" alone: the icon option and its value.
    bool iconCode = false;
    bool started = false;
};

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

} // namespace

std::optional<QStringList> arguments(const QString &exec, const Context &context)
{
    QStringList args;
    Word word;
    auto finish = [&] {
        if (word.iconCode && word.text.isEmpty()) {
            if (!context.icon.isEmpty())
                args << QStringLiteral("--icon") << context.icon;
        } else if (word.literal) {
            args.append(word.text);
        }
        word = Word();
    };
    // A field code: true when it was one (two characters used).
    auto fieldCode = [&](qsizetype i) {
        if (exec.at(i) != QLatin1Char('%') || i + 1 >= exec.size())
            return false;
        const QChar code = exec.at(i + 1);
        word.started = true;
        if (code == QLatin1Char('%')) {
            word.text.append(QLatin1Char('%'));
            word.literal = true;
        } else if (code == QLatin1Char('c')) {
            word.text.append(context.name);
            word.literal = true;
        } else if (code == QLatin1Char('k')) {
            word.text.append(context.location);
            word.literal = true;
        } else if (code == QLatin1Char('i')) {
            // Only an argument of its own becomes the option and its value.
            const bool alone = !word.literal && word.text.isEmpty() &&
                               (i + 2 >= exec.size() || isBlank(exec.at(i + 2)));
            word.iconCode = alone;
        }
        // %f %F %u %U and the deprecated and unknown codes stand for nothing.
        return true;
    };

    enum class Quote { None, Double, Single } quote = Quote::None;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        switch (quote) {
        case Quote::None:
            if (isBlank(c)) {
                if (word.started)
                    finish();
            } else if (c == QLatin1Char('"')) {
                quote = Quote::Double;
                word.started = word.literal = true;
            } else if (c == QLatin1Char('\'')) {
                quote = Quote::Single;
                word.started = word.literal = true;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                word.text.append(exec.at(++i));
                word.started = word.literal = true;
            } else if (fieldCode(i)) {
                ++i;
            } else {
                word.text.append(c);
                word.started = word.literal = true;
            }
            break;
        case Quote::Double:
            if (c == QLatin1Char('"')) {
                quote = Quote::None;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                       QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
                word.text.append(exec.at(++i));
            } else if (fieldCode(i)) {
                ++i;
            } else {
                word.text.append(c);
            }
            break;
        case Quote::Single:
            if (c == QLatin1Char('\''))
                quote = Quote::None;
            else
                word.text.append(c);
            break;
        }
    }
    if (quote != Quote::None)
        return std::nullopt;
    if (word.started)
        finish();
    const qsizetype program = programIndex(args);
    if (program < 0 || args.at(program).isEmpty())
        return std::nullopt;
    return args;
}

qsizetype programIndex(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return -1;
    if (QFileInfo(arguments.first()).fileName() != QLatin1String("env"))
        return 0;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        // The options that take the next word as their value: -u NAME, -C FOLDER.
        if (word == QLatin1String("-u") || word == QLatin1String("--unset") ||
            word == QLatin1String("-C") || word == QLatin1String("--chdir")) {
            ++i;
            continue;
        }
        if (word.startsWith(QLatin1Char('-')))
            continue;
        if (word.indexOf(QLatin1Char('=')) > 0)
            continue;
        return i;
    }
    return -1;
}

QString quote(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needed = argument.isEmpty();
    for (QChar c : argument) {
        if (reserved.contains(c)) {
            needed = true;
            break;
        }
    }
    QString escaped = argument;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (!needed)
        return escaped;
    QString out = QStringLiteral("\"");
    for (QChar c : std::as_const(escaped)) {
        if (QStringLiteral("\"`$\\").contains(c))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    return out + QLatin1Char('"');
}

QString findProgram(const QString &word, const QString &path)
{
    if (word.isEmpty())
        return {};
    if (word.contains(QLatin1Char('/')))
        return word.startsWith(QLatin1Char('/')) && isExecutableFile(word) ? word : QString();
    for (const QString &dir : path.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        // Only absolute folders: a relative one would depend on where Vexilo was started.
        if (!dir.startsWith(QLatin1Char('/')))
            continue;
        const QString candidate = dir + QLatin1Char('/') + word;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

QString flatpakApplication(const QStringList &arguments)
{
    const qsizetype program = programIndex(arguments);
    if (program < 0 || QFileInfo(arguments.at(program)).fileName() != QLatin1String("flatpak"))
        return {};
    const qsizetype run = arguments.indexOf(QStringLiteral("run"), program + 1);
    if (run < 0)
        return {};
    for (qsizetype i = run + 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).startsWith(QLatin1Char('-')))
            return arguments.at(i);
    }
    return {};
}

} // namespace DesktopExec

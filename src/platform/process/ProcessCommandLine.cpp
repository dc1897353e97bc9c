#include "platform/process/ProcessCommandLine.h"

namespace {

QByteArray baseName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

namespace ProcessCommandLine {

QByteArray report(QByteArray cmdline)
{
    QByteArray text = "ARGS\n";
    if (cmdline.endsWith('\0'))
        cmdline.chop(1);
    if (cmdline.isEmpty())
        return text;
    for (char &c : cmdline) {
        if (c == '\0')
            c = ' ';
        else if ((static_cast<unsigned char>(c) < 0x20) || c == 0x7f)
            c = '?';
    }
    return text + cmdline + '\n';
}

std::optional<Interpreter> interpreterLine(QByteArrayView head)
{
    if (head.size() < 2 || head[0] != '#' || head[1] != '!')
        return std::nullopt;
    QByteArray line = head.sliced(2).toByteArray();
    line = line.left(line.indexOf('\n')).trimmed();
    const qsizetype blank = line.indexOf(' ') >= 0 ? line.indexOf(' ') : line.indexOf('\t');
    if (blank < 0)
        return Interpreter{line, QByteArray()};
    return Interpreter{line.left(blank), line.mid(blank + 1).trimmed()};
}

bool runsScript(const QList<QByteArray> &argv, qsizetype k, const Interpreter &interpreter)
{
    if (k < 1 || k > 2 || k >= argv.size())
        return false;
    const QByteArray program = baseName(argv.at(0));
    const bool direct =
        program == baseName(interpreter.program) &&
        (k == 1 ? interpreter.argument.isEmpty() : argv.at(1) == interpreter.argument);
    const bool throughEnv = k == 1 && baseName(interpreter.program) == "env" &&
                            !interpreter.argument.isEmpty() &&
                            program == baseName(interpreter.argument);
    return direct || throughEnv;
}

QString bundlePathOfExecutable(const QString &path)
{
    static const QString marker = QStringLiteral(".app/Contents/MacOS/");
    const qsizetype at = path.lastIndexOf(marker);
    if (at <= 0 || path.at(at - 1) == QLatin1Char('/'))
        return {};
    // Something must follow the folder: the executable itself.
    if (at + marker.size() >= path.size())
        return {};
    return path.left(at + 4);
}

} // namespace ProcessCommandLine

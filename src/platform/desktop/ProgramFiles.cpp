#include "platform/desktop/ProgramFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <cstring>
#include <elf.h>
#include <unistd.h>

namespace ProgramFiles {

namespace {

// Scripts that wrap a program are short; a bound keeps a large file from being read whole.
constexpr qint64 kScriptBound = 256 * 1024;

QString expand(QString word, const QHash<QString, QString> &variables)
{
    if (word.size() >= 2 && (word.front() == u'"' || word.front() == u'\'') &&
        word.back() == word.front())
        word = word.mid(1, word.size() - 2);
    static const QRegularExpression reference(
        QStringLiteral("\\$(?:\\{([A-Za-z_][A-Za-z0-9_]*)\\}|([A-Za-z_][A-Za-z0-9_]*))"));
    QString out;
    qsizetype last = 0;
    auto it = reference.globalMatch(word);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        if (!variables.contains(name))
            return {};
        out += word.mid(last, match.capturedStart() - last) + variables.value(name);
        last = match.capturedEnd();
    }
    out += word.mid(last);
    // What still needs a shell (substitutions, globs, quotes inside) is not followed.
    static const QRegularExpression shellish(QStringLiteral("[`$*?\"'\\\\(){}]"));
    return out.contains(shellish) ? QString() : out;
}

template <typename T> bool readAt(QFile &file, qint64 offset, T &value)
{
    return file.seek(offset) &&
           file.read(reinterpret_cast<char *>(&value), sizeof value) == qint64(sizeof value);
}

} // namespace

QStringList execTargets(const QString &script)
{
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.read(kScriptBound);
    static const QRegularExpression shell(
        QStringLiteral("^#!\\s*\\S*/(?:env\\s+)?(?:ba|da)?sh\\b"));
    if (!shell.match(QString::fromLatin1(text.left(text.indexOf('\n')))).hasMatch())
        return {};
    static const QRegularExpression assignment(
        QStringLiteral("^\\s*(?:export\\s+)?([A-Za-z_][A-Za-z0-9_]*)=(\\S*)\\s*$"));
    // exec, then env with its options and assignments, then the program.
    static const QRegularExpression exec(
        QStringLiteral("(?:^|[;&|]|\\bthen|\\belse|\\bdo)\\s*exec\\s+(?:(?:/usr)?(?:/bin/)?env\\s+"
                       "(?:-[a-z-]*\\s+|[A-Za-z_][A-Za-z0-9_]*=\\S*\\s+)*)?(\\S+)"));
    const QString self = QFileInfo(script).canonicalFilePath();
    QHash<QString, QString> variables;
    QStringList targets;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        if (const auto match = assignment.match(line); match.hasMatch()) {
            variables.insert(match.captured(1), expand(match.captured(2), variables));
            continue;
        }
        auto it = exec.globalMatch(line);
        while (it.hasNext()) {
            const QString target = expand(it.next().captured(1), variables);
            if (!target.startsWith(QLatin1Char('/')))
                continue;
            const QFileInfo info(target);
            if (info.isFile() && info.isExecutable() && info.canonicalFilePath() != self &&
                !targets.contains(target))
                targets.append(target);
        }
    }
    return targets;
}

QStringList neededLibraries(const QString &program)
{
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Elf64_Ehdr header;
    if (!readAt(file, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum > 256)
        return {};
    QList<Elf64_Phdr> loads;
    Elf64_Phdr dynamic{};
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        if (!readAt(file, qint64(header.e_phoff + i * sizeof segment), segment))
            return {};
        if (segment.p_type == PT_LOAD)
            loads.append(segment);
        else if (segment.p_type == PT_DYNAMIC)
            dynamic = segment;
    }
    // The string table is given as an address: the segment that loads it tells its offset.
    const auto offsetOf = [&loads](Elf64_Addr address) -> qint64 {
        for (const Elf64_Phdr &load : loads) {
            if (address >= load.p_vaddr && address < load.p_vaddr + load.p_filesz)
                return qint64(address - load.p_vaddr + load.p_offset);
        }
        return -1;
    };
    QList<Elf64_Xword> needed;
    qint64 strings = -1;
    for (Elf64_Xword at = 0; at + sizeof(Elf64_Dyn) <= dynamic.p_filesz && at < 64 * 1024;
         at += sizeof(Elf64_Dyn)) {
        Elf64_Dyn entry;
        if (!readAt(file, qint64(dynamic.p_offset + at), entry) || entry.d_tag == DT_NULL)
            break;
        if (entry.d_tag == DT_NEEDED)
            needed.append(entry.d_un.d_val);
        else if (entry.d_tag == DT_STRTAB)
            strings = offsetOf(entry.d_un.d_ptr);
    }
    QStringList libraries;
    if (strings < 0)
        return libraries;
    for (const Elf64_Xword name : std::as_const(needed)) {
        if (!file.seek(strings + qint64(name)))
            continue;
        const QByteArray bytes = file.read(256);
        libraries.append(QString::fromLatin1(bytes.left(bytes.indexOf('\0'))));
    }
    return libraries;
}

bool readsLanguageFromLocale(const QString &program)
{
    static QMutex mutex;
    static QHash<QString, bool> known;
    const QString path = QFileInfo(program).canonicalFilePath();
    if (path.isEmpty())
        return false;
    QMutexLocker lock(&mutex);
    if (const auto it = known.constFind(path); it != known.cend())
        return *it;
    QStringList programs = execTargets(path);
    if (programs.isEmpty())
        programs.append(path);
    bool locale = false;
    for (const QString &real : std::as_const(programs)) {
        // wxWidgets chooses its translations by the locale's name alone.
        for (const QString &library : neededLibraries(real))
            locale = locale || library.startsWith(QLatin1String("libwx_baseu"));
    }
    known.insert(path, locale);
    return locale;
}

} // namespace ProgramFiles

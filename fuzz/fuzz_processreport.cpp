// A process's command line as /proc hands it over (NUL-separated words that whoever started the
// process chose): its `ps` form, the language argument read back from it, the bundle its
// program lies in, and the start of a script file as its interpreter line.

#include "language/InstanceLanguage.h"
#include "platform/process/ProcessCommandLine.h"

#include <QFile>
#include <cstdlib>

namespace {

void checkLanguage(const QByteArray &report)
{
    const std::optional<QString> code = InstanceLanguage::languageArgument(report);
    if (!code)
        return;
    static const QString trimmed = QStringLiteral("( )");
    if (code->isEmpty() || trimmed.contains(code->front()) || trimmed.contains(code->back()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray cmdline(reinterpret_cast<const char *>(data), qsizetype(size));

    // An argument never forges a line of its own: the header, then one line at most.
    const QByteArray report = ProcessCommandLine::report(cmdline);
    if (!report.startsWith("ARGS\n") || !report.endsWith('\n') || report.count('\n') > 2)
        std::abort();
    checkLanguage(report);
    checkLanguage(cmdline);

    const QList<QByteArray> argv = cmdline.split('\0');
    for (const QByteArray &word : argv) {
        const QString path = QFile::decodeName(word);
        const QString bundle = ProcessCommandLine::bundlePathOfExecutable(path);
        if (!bundle.isEmpty() && (!path.startsWith(bundle + QStringLiteral("/Contents/MacOS/")) ||
                                  !bundle.endsWith(QStringLiteral(".app"))))
            std::abort();
    }

    if (const auto line = ProcessCommandLine::interpreterLine(cmdline)) {
        if (line->program.contains('\n') || line->argument.contains('\n'))
            std::abort();
        for (qsizetype k = 0; k <= 3; ++k)
            ProcessCommandLine::runsScript(argv, k, *line);
    }
    return 0;
}

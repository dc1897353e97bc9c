#include "CliArguments.h"

#include "text/Texts.h"

#include <QHash>

namespace Cli {

namespace {

struct Grammar {
    Command::Kind kind;
    // Positional arguments: at least, at most.
    int least;
    int most;
    QStringList options;
};

const QHash<QString, Grammar> &grammars()
{
    using K = Command::Kind;
    static const QHash<QString, Grammar> table{
        {QStringLiteral("list"),
         {K::List, 0, 0, {QStringLiteral("--json"), QStringLiteral("--quiet")}}},
        {QStringLiteral("languages"),
         {K::Languages, 1, 1, {QStringLiteral("--json"), QStringLiteral("--quiet")}}},
        {QStringLiteral("launch"), {K::Launch, 2, 2, {QStringLiteral("--restart")}}},
        {QStringLiteral("always"),
         {K::Always, 1, 2, {QStringLiteral("--restart"), QStringLiteral("--reset")}}},
        {QStringLiteral("running"), {K::Running, 1, 1, {QStringLiteral("--json")}}},
    };
    return table;
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
           argument == QLatin1String("help");
}

} // namespace

Parsed parse(const QStringList &arguments)
{
    Parsed parsed;
    if (arguments.isEmpty() || isHelp(arguments.first())) {
        parsed.command.topic = arguments.value(1);
        return parsed;
    }
    const QString name = arguments.first();
    const auto grammar = grammars().constFind(name);
    if (grammar == grammars().constEnd()) {
        parsed.error = formatText(Vexilo::tr("Unknown command: %@"), {name});
        return parsed;
    }
    Command &command = parsed.command;
    QStringList positional;
    bool optionsEnd = false;
    for (const QString &argument : arguments.mid(1)) {
        if (!optionsEnd &&
            (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            command = Command{};
            command.topic = name;
            return parsed;
        }
        if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            const QString option =
                argument == QLatin1String("-q") ? QStringLiteral("--quiet") : argument;
            if (!grammar->options.contains(option)) {
                parsed.error = formatText(Vexilo::tr("Unknown option: %@"), {argument});
                return parsed;
            }
            command.json |= option == QLatin1String("--json");
            command.quiet |= option == QLatin1String("--quiet");
            command.restart |= option == QLatin1String("--restart");
            command.reset |= option == QLatin1String("--reset");
        } else {
            positional.append(argument);
        }
    }
    // always takes a language or --reset, never both.
    const int wanted = grammar->kind == Command::Kind::Always ? (command.reset ? 1 : 2) : -1;
    if (positional.size() < grammar->least || positional.size() > grammar->most ||
        (wanted >= 0 && positional.size() != wanted)) {
        parsed.error = Vexilo::tr("Wrong number of arguments.");
        return parsed;
    }
    command.kind = grammar->kind;
    command.app = positional.value(0);
    command.language = positional.value(1);
    return parsed;
}

QString help(const QString &topic)
{
    if (topic == QLatin1String("list"))
        return Vexilo::tr("Usage: vexilo list [--json | --quiet]\n"
                          "Lists the applications: name, identifier and number of languages, "
                          "hidden ones marked.\n"
                          "  --json   as JSON\n"
                          "  --quiet  the identifiers and names of the applications shown, one a "
                          "line\n");
    if (topic == QLatin1String("languages"))
        return Vexilo::tr("Usage: vexilo languages APP [--json | --quiet]\n"
                          "Lists the languages of APP: code and name, the stored one marked *.\n"
                          "  --json   as JSON\n"
                          "  --quiet  the codes only\n");
    if (topic == QLatin1String("launch"))
        return Vexilo::tr(
            "Usage: vexilo launch APP LANG [--restart]\n"
            "Opens APP once in LANG.\n"
            "  --restart  quit a running copy first (else it is refused, status 3)\n");
    if (topic == QLatin1String("always"))
        return Vexilo::tr("Usage: vexilo always APP LANG [--restart]\n"
                          "       vexilo always APP --reset [--restart]\n"
                          "Makes APP always open in LANG, or in the system language again.\n"
                          "  --restart  quit a running copy first and open it again (else it is "
                          "refused, status 3)\n");
    if (topic == QLatin1String("running"))
        return Vexilo::tr("Usage: vexilo running APP [--json]\n"
                          "Names the language of each running copy of APP.\n"
                          "  --json   as JSON\n");
    return Vexilo::tr("Usage: vexilo [COMMAND [ARGUMENTS]]\n"
                      "Without a command, opens the window.\n"
                      "  list                   the applications\n"
                      "  languages APP          the languages of an application\n"
                      "  launch APP LANG        open it once in a language\n"
                      "  always APP LANG|--reset  always open it in a language, or not\n"
                      "  running APP            the language of its running copies\n"
                      "APP: a name, identifier, desktop-file ID or bundle path. LANG: a code or "
                      "a language name.\n"
                      "Exit status: 0 done, 1 error, 2 wrong usage, 3 refused because it runs, "
                      "4 refused: its language cannot be set.\n"
                      "vexilo COMMAND --help describes each command.\n");
}

} // namespace Cli

#include "CliCommands.h"

#include "CliArguments.h"
#include "CliOutput.h"
#include "catalogue/CatalogueLoader.h"
#include "language/AlwaysOpen.h"
#include "language/LanguageDisplay.h"
#include "language/LaunchWork.h"
#include "language/Launcher.h"
#include "language/StoredLanguage.h"
#include "panel/PanelContent.h"
#include "platform/Platform.h"
#include "platform/preferences/UserDefaults.h"
#include "text/Texts.h"

#include <QFileInfo>

namespace Cli {

namespace {

// A translation may have lost the text's last line break.
QString endLine(const QString &text)
{
    return text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n');
}

Outcome failure(int status, const QString &message)
{
    return {status, {}, endLine(message)};
}

Outcome failure(int status, const SheetText &sheet)
{
    return failure(status, sheet.message.isEmpty()
                               ? sheet.title
                               : sheet.title + QLatin1Char('\n') + sheet.message);
}

CliOutput::AppRow rowFor(const AppListing &listing, bool hidden)
{
    return {listing.name(), listing.identifier(), listing.path(), -1, hidden};
}

class Session {
public:
    Session(const Platform &platform, const QString &ownIdentifier)
        : m_platform(platform), m_defaults(platform.preferences, ownIdentifier)
    {
    }

    const CatalogueLoader::Result &catalogue()
    {
        if (!m_loaded) {
            m_catalogue = CatalogueLoader::load(m_platform, m_defaults, {});
            m_loaded = true;
        }
        return m_catalogue;
    }

    bool isHidden(const AppListingPtr &listing) { return !catalogue().apps.contains(listing); }

    // The application `query` names, read afresh with its languages; null with `error` set.
    AppListingPtr find(const QString &query, Outcome &error)
    {
        const QList<AppListingPtr> &all = catalogue().allApps;
        QList<CliOutput::AppRow> rows;
        QStringList shown;
        for (const AppListingPtr &listing : all) {
            rows.append(rowFor(*listing, false));
            shown.append(listing->localizedAppName());
        }
        const QList<int> matches = CliOutput::matchApps(query, rows, shown);
        if (matches.size() == 1)
            return all.at(matches.first())->reread(m_platform);
        if (matches.size() > 1) {
            QString message = formatText(Vexilo::tr("Several applications match “%@”:"), {query});
            for (int i : matches)
                message += QStringLiteral("\n  %1\t%2").arg(rows.at(i).name, rows.at(i).path);
            error = failure(Error, message);
            return {};
        }
        // A bundle anywhere on disk, named by its path.
        const QFileInfo bundle(query);
        if (bundle.isDir() && QFileInfo(query + QStringLiteral("/Contents/Info.plist")).isFile())
            return AppListing::fromPath(bundle.absoluteFilePath(), *m_platform.workspace)
                ->reread(m_platform);
        error = failure(Error, formatText(Vexilo::tr("No application matches “%@”."), {query}));
        return {};
    }

    std::optional<int> findLanguage(const AppListing &app, const QString &query, Outcome &error)
    {
        const std::optional<int> index = CliOutput::matchLanguage(query, app.langs());
        if (!index)
            error = failure(Error, formatText(Vexilo::tr("%@ has no language “%@”. Its "
                                                         "languages: %@"),
                                              {app.localizedAppName(), query,
                                               app.langs().join(QStringLiteral(", "))}));
        return index;
    }

private:
    const Platform &m_platform;
    UserDefaults m_defaults;
    CatalogueLoader::Result m_catalogue;
    bool m_loaded = false;
};

Outcome list(const Platform &platform, Session &session, const Command &command)
{
    QList<CliOutput::AppRow> rows;
    for (const AppListingPtr &listing : session.catalogue().allApps) {
        CliOutput::AppRow row = rowFor(*listing, session.isHidden(listing));
        // Menu entries are listed without their languages; completion needs none.
        if (!command.quiet)
            row.languages = int(listing->reread(platform)->langs().size());
        rows.append(row);
    }
    if (command.quiet)
        return {Ok, CliOutput::listQuiet(rows), {}};
    return {Ok, command.json ? CliOutput::listJson(rows) : CliOutput::listText(rows), {}};
}

Outcome languages(const Platform &platform, const AppListing &app, const Command &command)
{
    const QStringList langs = app.langs();
    if (langs.isEmpty() && !command.json && !command.quiet)
        return {
            Ok, {}, Vexilo::tr("(Unable to determine available languages)") + QLatin1Char('\n')};
    const std::optional<QString> stored =
        app.whyNoStoredLanguage().isEmpty() ? app.readStoredLanguage(platform).code : std::nullopt;
    const int storedIndex = stored ? StoredLanguage::indexInLanguages(*stored, langs) : -1;
    QList<CliOutput::LanguageRow> rows;
    for (int i = 0; i < langs.size(); ++i)
        rows.append({langs.at(i), LanguageDisplay::name(langs.at(i)), i == storedIndex});
    if (command.quiet)
        return {Ok, CliOutput::languagesQuiet(rows), {}};
    return {Ok, command.json ? CliOutput::languagesJson(rows) : CliOutput::languagesText(rows), {}};
}

Outcome running(const Platform &platform, const AppListing &app, const Command &command)
{
    const QList<qint64> copies = app.runningCopies(*platform.processes);
    std::optional<QString> stored;
    if (!copies.isEmpty() && app.whyNoStoredLanguage().isEmpty())
        stored = app.readStoredLanguage(platform).code;
    QList<CliOutput::CopyRow> rows;
    for (qint64 pid : copies)
        rows.append({pid, app.runningLanguage(*platform.processes, pid, stored)});
    return {Ok,
            command.json ? CliOutput::runningJson(rows)
                         : CliOutput::runningText(app.localizedAppName(), rows),
            {}};
}

Outcome refusedWhileRunning(const Platform &platform, const AppListing &app, const Command &command)
{
    if (command.restart || app.runningCopies(*platform.processes).isEmpty())
        return {};
    return failure(Running, formatText(Vexilo::tr("%@ is already open. Give --restart to quit it "
                                                  "first."),
                                       {app.localizedAppName()}));
}

Outcome launch(const Platform &platform, const AppListingPtr &app, int language,
               const Command &command)
{
    if (Outcome refused = refusedWhileRunning(platform, *app, command); refused.status != Ok)
        return refused;
    const QString code = app->langs().at(language);
    const LaunchChoice choice{app, code, LanguageDisplay::name(code), app->localizedAppName()};
    LaunchEvent done;
    LaunchWork::launch(*platform.processes, choice, command.restart,
                       [&done](const LaunchEvent &event) { done = event; });
    if (!done.running)
        return failure(Error, Launcher::startFailure(choice.name, done.failure));
    return {};
}

Outcome always(const Platform &platform, const AppListingPtr &app, std::optional<QString> code,
               const Command &command)
{
    const QString name = app->localizedAppName();
    if (const QString why = app->whyNoStoredLanguage(); !why.isEmpty())
        return failure(Refused, AlwaysOpen::keptNotice(name, {}, why));
    // Someone else's setting is left as it is, as the window does.
    const AppListing::StoredSetting stored = app->readStoredLanguage(platform);
    if (!stored.foreignFile.isEmpty())
        return failure(Refused, AlwaysOpen::keptNotice(name, stored.foreignFile));
    if (Outcome refused = refusedWhileRunning(platform, *app, command); refused.status != Ok)
        return refused;
    Outcome outcome;
    LaunchWork::changeStoredLanguage(
        platform, {app, std::move(code), name}, [&](const LaunchEvent &event) {
            if (event.kind == LaunchEvent::Kind::StoredLanguageKept)
                outcome = failure(event.userFile.isEmpty() ? Error : Refused,
                                  AlwaysOpen::keptNotice(name, event.userFile, event.failure));
            else if (event.kind == LaunchEvent::Kind::Started && !event.running &&
                     outcome.status == Ok)
                outcome = failure(Error, Launcher::startFailure(name, event.failure));
        });
    return outcome;
}

} // namespace

Outcome run(const Platform &platform, const QString &ownIdentifier, const QStringList &arguments)
{
    const Parsed parsed = parse(arguments);
    if (!parsed.error.isEmpty())
        return failure(Usage, parsed.error + QLatin1Char('\n') + help(arguments.value(0)));
    const Command &command = parsed.command;
    if (command.kind == Command::Kind::Help)
        return {Ok, endLine(help(command.topic)), {}};

    Session session(platform, ownIdentifier);
    if (command.kind == Command::Kind::List)
        return list(platform, session, command);
    Outcome error;
    const AppListingPtr app = session.find(command.app, error);
    if (!app)
        return error;
    switch (command.kind) {
    case Command::Kind::Languages:
        return languages(platform, *app, command);
    case Command::Kind::Running:
        return running(platform, *app, command);
    case Command::Kind::Launch: {
        const std::optional<int> language = session.findLanguage(*app, command.language, error);
        return language ? launch(platform, app, *language, command) : error;
    }
    case Command::Kind::Always: {
        if (command.reset)
            return always(platform, app, std::nullopt, command);
        const std::optional<int> language = session.findLanguage(*app, command.language, error);
        return language ? always(platform, app, app->langs().at(*language), command) : error;
    }
    default:
        return {};
    }
}

} // namespace Cli

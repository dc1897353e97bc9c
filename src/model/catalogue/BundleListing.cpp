#include "BundleListing.h"

#include "SharedValues.h"
#include "language/InstanceLanguage.h"
#include "language/LanguageDisplay.h"
#include "language/LanguageList.h"
#include "language/StartProgram.h"
#include "language/StoredLanguage.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/locale/LanguageNames.h"
#include "platform/locale/LocalizationMatch.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/Processes.h"
#include "platform/process/ToolRun.h"
#include "text/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>

namespace {

using namespace std::chrono_literals;

// The preferences tool answers in a few milliseconds: one that has not within this bound, or
// that prints more than a list of languages ever takes, counts as no answer.
constexpr std::chrono::milliseconds kReadBound = 3s;
// Its write or delete.
constexpr std::chrono::milliseconds kWriteBound = 10s;

// Every selection reads its bundle afresh; a bundle that cannot be restored is told about once a
// run, not once a click. Listings are made on the loading thread too.
bool isFirstFailure(const QString &path)
{
    static QMutex mutex;
    static QSet<QString> reported;
    QMutexLocker lock(&mutex);
    if (reported.contains(path))
        return false;
    reported.insert(path);
    return true;
}

} // namespace

QStringList languageArguments(const QString &code)
{
    return {QStringLiteral("-AppleLanguages"), QStringLiteral("(%1)").arg(code)};
}

std::shared_ptr<BundleListing> BundleListing::read(const QString &path, Workspace &workspace,
                                                   bool invalid)
{
    auto listing = std::make_shared<BundleListing>(Private{});
    listing->readBundle(path, workspace);
    listing->m_invalid = invalid;
    return listing;
}

void BundleListing::readBundle(const QString &path, Workspace &workspace)
{
    m_path = path;
    // Only the last extension goes ("Foo.Bar.app" -> "Foo.Bar"); a leading dot is no extension.
    const QString clean = QDir::cleanPath(path);
    const QString fileName = clean.mid(clean.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    m_name = dot > 0 ? fileName.left(dot) : fileName;
    if (!QDir::isAbsolutePath(path))
        return;

    if (const auto bundle = Bundle::bundleWithPath(path)) {
        // The path the bundle registry keeps too, one copy for both.
        if (bundle->bundlePath() == path)
            m_path = bundle->bundlePath();
        // As read now: disabled resources moved back below show at the next reading.
        QStringList localizations = bundle->localizations();
        localizations.sort();
        m_localizations = SharedValues::shared(localizations);
        m_declaredLocalizations = bundle->infoValue(QStringLiteral("CFBundleLocalizations"));
        m_developmentRegion = SharedValues::shared(
            bundle->infoValue(QStringLiteral("CFBundleDevelopmentRegion")).toString());
        if (const QString icon = bundle->iconPath(); !icon.isEmpty())
            m_iconFile = SharedValues::shared(icon.mid(bundle->bundlePath().size() + 1));
        m_identifier = bundle->bundleIdentifier();
        m_executable = bundle->executableName();
        if (!m_identifier.isEmpty())
            workspace.rememberApplication(path, m_identifier);
    }

    if (!restoreDisabledResources(path) && isFirstFailure(path))
        qWarning().noquote() << QStringLiteral(
                                    "Error: could not reset disabled language resources for %1.")
                                    .arg(m_name);
}

QStringList BundleListing::langs() const
{
    // Sorting by display name asks the locale data for every name: only the listings a user
    // selects need it.
    std::call_once(m_langsMade, [this] {
        m_langs = LanguageList::sortedByDisplayName(
            LanguageList::languages(m_localizations, m_declaredLocalizations));
    });
    return m_langs;
}

QString BundleListing::localizedAppName() const
{
    std::call_once(m_nameRead, [this] {
        // The listing's own bundle, which is the one found by identifier unless several copies
        // of one application are installed; then each copy shows its own name.
        if (m_identifier.isEmpty())
            return;
        if (const auto bundle = Bundle::bundleWithPath(m_path))
            m_localizedName =
                bundle->localizedInfoDictionary().value(QStringLiteral("CFBundleName")).toString();
    });
    return m_localizedName.isEmpty() ? m_name : m_localizedName;
}

QString BundleListing::version() const
{
    const auto bundle = QDir::isAbsolutePath(m_path) ? Bundle::bundleWithPath(m_path) : nullptr;
    return bundle ? bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion")).toString()
                  : QString();
}

AppListingPtr BundleListing::reread(const Platform &platform) const
{
    return read(m_path, *platform.workspace, m_invalid);
}

QString BundleListing::ownLanguage(const QStringList &preferredLanguages) const
{
    const QStringList languages = langs();
    if (languages.isEmpty())
        return {};
    // As the bundle lookup chooses: the user's languages, then the development region, then
    // English, then the first by code, so that every user gets the same answer.
    for (const QStringList &wanted : {preferredLanguages, QStringList{m_developmentRegion},
                                      QStringList{QStringLiteral("en")}}) {
        const QString match = LocalizationMatch::firstMatch(languages, wanted);
        if (!match.isEmpty())
            return match;
    }
    return *std::min_element(languages.cbegin(), languages.cend());
}

QString BundleListing::whyNoStoredLanguage() const
{
    if (!m_identifier.isEmpty())
        return {};
    return Vexilo::tr("This app has no bundle identifier, so Vexilo cannot set its language.");
}

AppListing::StoredSetting BundleListing::readStoredLanguage(const Platform &platform) const
{
    if (m_identifier.isEmpty())
        return {};
    const ToolRun::Result answer = ToolRun::run(
        platform.defaultsToolPath(), StoredLanguage::readArguments(m_identifier), kReadBound);
    // Killed half-way through its answer, a tool may have printed part of a code.
    if (!answer.finished)
        return {};
    return {StoredLanguage::parseReadOutput(answer.output), {}};
}

AppListing::SettingChange
BundleListing::changeStoredLanguage(const Platform &platform,
                                    const std::optional<QString> &code) const
{
    if (m_identifier.isEmpty())
        return {SettingChange::Result::Failed, whyNoStoredLanguage()};
    const ToolRun::Result done =
        ToolRun::run(platform.defaultsToolPath(),
                     code ? StoredLanguage::writeArguments(m_identifier, *code)
                          : StoredLanguage::deleteArguments(m_identifier),
                     kWriteBound);
    // Deleting what is not there is no failure: the application follows the user's languages.
    const bool absent =
        !code && done.finished && done.errors.contains(QByteArrayLiteral("does not exist"));
    if (done.succeeded() || absent)
        return {SettingChange::Result::Done, {}};
    return {SettingChange::Result::Failed, done.failure()};
}

AppListing::StartOutcome BundleListing::start(Processes &processes, StartMode mode,
                                              const QString &language) const
{
    // The listing is a fresh reading (a selection rereads it); where its executable leads is
    // checked now.
    const QString executable = Bundle::executablePath(m_path, m_executable);
    if (executable.isEmpty())
        return {false, Vexilo::tr("The application has no executable to start.")};
    return StartProgram::startAndRaise(
        processes, m_path, executable,
        mode == StartMode::Once ? languageArguments(language) : QStringList(),
        LaunchEnvironment::forLanguage(QProcessEnvironment::systemEnvironment(), language));
}

QList<qint64> BundleListing::runningCopies(const Processes &processes) const
{
    // The listing is a fresh reading (a selection rereads it): its identifier is the bundle's.
    QList<qint64> copies;
    if (m_identifier.isEmpty())
        return copies;
    for (const RunningApplication &app : processes.launchedApplications()) {
        if (app.bundleIdentifier == m_identifier)
            copies.append(app.processIdentifier);
    }
    return copies;
}

QString BundleListing::runningLanguage(const Processes &processes, qint64 pid,
                                       const std::optional<QString> &stored) const
{
    // Its -AppleLanguages argument, else its stored language, else its own choice.
    if (const auto code = InstanceLanguage::languageArgument(processes.commandLineReport(pid)))
        return InstanceLanguage::nameForArgument(*code);
    if (stored)
        return LanguageDisplay::name(*stored);
    const QString own = ownLanguage(LanguageNames::preferredLanguages());
    return own.isEmpty() ? QString() : LanguageDisplay::name(own);
}

#pragma once

#include <QString>
#include <QStringList>

class PreferencesStore;

// What the sample application works out at start: which of its bundle's localisations it opens
// in and the texts it shows, the way a well-behaved localised application chooses them.
namespace SampleSetup {

// <X>.app for an executable at <X>.app/Contents/MacOS/<exe>; empty when it lies elsewhere.
QString bundlePathForExecutable(const QString &executablePath);

// The codes given with "-AppleLanguages": "(fr)", "(fr, de)", "fr", "(\"en-GB\", fr)".
// Empty when the option is absent, has no value or an empty list.
QStringList languagesFromArguments(const QStringList &arguments);

struct Texts {
    QString localization; // the chosen .lproj name; empty when the bundle has none
    QString title;        // the localised CFBundleName
    QString greeting;
    QString openedLine; // "Opened in fr"
    QString iconPath;   // the declared icon file when it exists
};

// Languages asked for, in order: the launch arguments, else the stored AppleLanguages of the
// bundle's domain, then the user's preferred languages. The bundle picks among its own.
Texts resolve(const QString &bundlePath, const QStringList &arguments,
              const PreferencesStore &store, const QStringList &preferredLanguages);

} // namespace SampleSetup

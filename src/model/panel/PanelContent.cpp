#include "PanelContent.h"

#include "language/LanguageDisplay.h"
#include "text/Texts.h"

namespace Panel {

namespace {

QString availableIn(qsizetype count)
{
    return formatText(Vexilo::tr("Available in %d different languages."), {QString::number(count)});
}

QString onlyAvailableIn(const QString &languageName)
{
    return formatText(Vexilo::tr("Only available in %@."), {languageName});
}

QString unableToDetermine()
{
    return Vexilo::tr("(Unable to determine available languages)");
}

PopUpEntry entry(PopUpEntry::Kind kind, const QString &title = {})
{
    PopUpEntry made;
    made.kind = kind;
    made.title = title;
    return made;
}

bool isLanguage(const PanelContent &panel, int entry)
{
    return entry >= 0 && entry < panel.entries.size() &&
           panel.entries.at(entry).kind == PopUpEntry::Kind::Language;
}

} // namespace

PanelContent forApplication(const QString &name, const QStringList &langs,
                            const StoredIndex &storedIndex, const QString &ownLanguage)
{
    PanelContent panel;
    panel.showsApplication = true;
    panel.name = name;
    // A single language is only worth offering when it can be named.
    const QString singleName =
        langs.size() == 1 ? LanguageDisplay::nameIfKnown(langs.first()) : QString();
    if (langs.size() < 2 && singleName.isEmpty()) {
        panel.countText = unableToDetermine();
        return panel;
    }
    panel.countText = langs.size() > 1 ? availableIn(langs.size()) : onlyAvailableIn(singleName);
    panel.popUpEnabled = langs.size() > 1;
    panel.launchEnabled = true;

    panel.entries.append(
        entry(PopUpEntry::Kind::AlwaysOpen, Vexilo::tr("Always open in this language")));
    panel.entries.append(entry(PopUpEntry::Kind::Separator));
    for (const QString &code : langs)
        panel.entries.append(entry(PopUpEntry::Kind::Language, LanguageDisplay::name(code)));
    const std::optional<int> stored = storedIndex();
    int first = 0;
    if (stored && *stored >= 0 && *stored < langs.size())
        first = *stored;
    else if (const qsizetype own = langs.indexOf(ownLanguage); own >= 0)
        first = int(own);
    panel.selectedEntry = kFirstLanguage + first;
    panel.entries[panel.selectedEntry].checked = true;
    // Marked when the stored language is the one now chosen.
    panel.entries[0].checked = stored && *stored == first;
    return panel;
}

PanelContent forOwnEntry(const QString &name, const QStringList &langs)
{
    PanelContent panel;
    panel.showsApplication = true;
    panel.name = name;
    for (const QString &code : langs)
        panel.entries.append(entry(PopUpEntry::Kind::Language, LanguageDisplay::name(code)));
    if (!panel.entries.isEmpty()) {
        panel.selectedEntry = 0;
        panel.entries[0].checked = true;
    }
    const QString singleName =
        langs.size() == 1 ? LanguageDisplay::nameIfKnown(langs.first()) : QString();
    if (langs.size() > 1)
        panel.countText = availableIn(langs.size());
    else if (!singleName.isEmpty())
        panel.countText = onlyAvailableIn(singleName);
    else
        panel.countText = unableToDetermine();
    panel.popUpEnabled = langs.size() > 1;
    return panel;
}

PanelContent blank()
{
    return {};
}

void chooseLanguage(PanelContent &panel, int entry, const StoredIndex &storedIndex)
{
    if (!isLanguage(panel, entry))
        return;
    if (isLanguage(panel, panel.selectedEntry))
        panel.entries[panel.selectedEntry].checked = false;
    panel.entries[entry].checked = true;
    panel.selectedEntry = entry;
    // Only a pop-up with the always-open entry has its mark to keep right; Vexilo's own entry
    // lists a language at index 0.
    if (!panel.hasAlwaysOpenEntry())
        return;
    if (const std::optional<int> stored = storedIndex())
        panel.entries[0].checked = *stored == entry - kFirstLanguage;
}

} // namespace Panel

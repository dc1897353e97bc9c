#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One entry of the language pop-up.
struct PopUpEntry {
    enum class Kind { AlwaysOpen, Separator, Language };
    Kind kind = Kind::Language;
    QString title;
    bool checked = false;
    // A disabled entry says why in its tool tip.
    bool enabled = true;
    QString toolTip;

    bool operator==(const PopUpEntry &) const = default;
};

// Everything the selection panel shows, as one value: the view only displays it.
struct PanelContent {
    // False for the blank panel: no name and no language count.
    bool showsApplication = false;
    QString name;
    QString countText;
    // For an application: "Always open in this language", a separator, then one entry per
    // language in the order of its languages. For Vexilo itself: the languages only.
    QList<PopUpEntry> entries;
    // The chosen language's entry; -1 when the pop-up is empty.
    int selectedEntry = -1;
    bool popUpEnabled = false;
    bool launchEnabled = false;
    QString runningLine;
    bool runningLineVisible = false;
    // Launch work runs: the Launch button shows "Launching..." and waits, beside the spinner.
    bool launching = false;

    bool hasAlwaysOpenEntry() const
    {
        return !entries.isEmpty() && entries.first().kind == PopUpEntry::Kind::AlwaysOpen;
    }
    bool operator==(const PanelContent &) const = default;
};

namespace Panel {

// The pop-up's first language entry when it has the always-open entry and the separator.
constexpr int kFirstLanguage = 2;

// Where the stored language stands among the languages: nullopt when the application has no
// stored language, AppListing::NotFound when it has one that is not among them. Asked only when
// the panel needs it, since finding out runs a tool.
using StoredIndex = std::function<std::optional<int>()>;

// An application with these languages, in this order. The language chosen first is the one a
// launch should use: the stored language (with the always-open mark), else `ownLanguage`, the
// one the application opens in by itself for this user, else the first.
PanelContent forApplication(const QString &name, const QStringList &langs,
                            const StoredIndex &storedIndex, const QString &ownLanguage = QString());
// Vexilo's own entry: its languages, the first chosen, nothing to launch.
PanelContent forOwnEntry(const QString &name, const QStringList &langs);
// Nothing selected.
PanelContent blank();

// The user picked the language entry `entry`: the mark moves to it, and the always-open mark
// follows whether it is the stored language.
void chooseLanguage(PanelContent &panel, int entry, const StoredIndex &storedIndex);

} // namespace Panel

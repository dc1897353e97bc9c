// The selection panel of Controller.
#include "Bundle.h"
#include "LanguagePopUp.h"
#include "UiText.h"
#include "catalogue/Controller.h"
#include "language/LanguageDisplay.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

// The position of the first language in the pop-up: after "Always open" and the separator.
constexpr int kFirstLanguage = 2;

} // namespace

void Controller::clickedListing(const AppListingPtr &listing)
{
    setCurrentListing(listing);
    if (!m_currentListing)
        return;
    langCountField->show();
    nameLabel->setText(m_currentListing->localizedAppName());
    nameLabel->show();

    if (m_currentListing->name() == QLatin1String("Vexilo")) {
        showOwnEntry();
        return;
    }

    // The copy has just read the bundle: its languages are the bundle's, in the bundle's order.
    const QStringList codes = m_currentListing->langs();
    QString singleName;
    if (codes.size() == 1)
        singleName = LanguageDisplay::nameIfKnown(codes.first());

    if (codes.size() > 1 || !singleName.isEmpty()) {
        if (codes.size() > 1)
            langCountField->setText(formatText(uiText("Available in %d different languages."),
                                               {QString::number(codes.size())}));
        else
            langCountField->setText(formatText(uiText("Only available in %@."), {singleName}));
        menu->setEnabled(codes.size() > 1);
        launchButton->setEnabled(true);

        menu->removeAllItems();
        menu->addSpecialItem(uiText("Always open in this language"));
        menu->addSeparator();
        for (const QString &code : codes)
            menu->addItem(LanguageDisplay::name(code));
        menu->selectItemAtIndex(kFirstLanguage);
        menu->setItemState(kFirstLanguage, true);
        m_lastSelection = kFirstLanguage;
        // Marked when the stored language is the first one, the one now chosen.
        if (m_currentListing->hasAutomaticLanguage())
            menu->setItemState(0, m_currentListing->indexOfAutoLang() == 0);
    } else {
        langCountField->setText(uiText("(Unable to determine available languages)"));
        menu->setEnabled(false);
        launchButton->setEnabled(false);
        menu->removeAllItems();
    }

    const QString line = currentInstanceLanguageString();
    openVersionsField->setText(line);
    openVersionsField->setVisible(!line.isEmpty());
}

void Controller::showOwnEntry()
{
    launchButton->setEnabled(false);
    const auto own = Bundle::bundleWithPath(m_platform->mainBundlePath);
    const QStringList codes = own ? own->localizations() : QStringList();
    menu->removeAllItems();
    for (const QString &code : codes)
        menu->addItem(LanguageDisplay::name(code));
    menu->selectItemAtIndex(0);
    menu->setItemState(0, true);
    m_lastSelection = 0;

    const QString singleName =
        codes.size() == 1 ? LanguageDisplay::nameIfKnown(codes.first()) : QString();
    if (codes.size() > 1) {
        langCountField->setText(formatText(uiText("Available in %d different languages."),
                                           {QString::number(codes.size())}));
    } else if (!singleName.isEmpty()) {
        langCountField->setText(formatText(uiText("Only available in %@."), {singleName}));
    } else {
        langCountField->setText(uiText("(Unable to determine available languages)"));
    }
    menu->setEnabled(codes.size() > 1);
    // Vexilo is running, in the language it shows itself in: no line of its own is needed.
    openVersionsField->hide();
}

void Controller::emptySelection()
{
    nameLabel->hide();
    langCountField->hide();
    openVersionsField->hide();
    launchButton->setEnabled(false);
    menu->removeAllItems();
    menu->setEnabled(false);
}

void Controller::languageSelectionChanged(QObject *sender)
{
    Q_UNUSED(sender);
    const int selected = menu->indexOfSelectedItem();
    menu->setItemState(m_lastSelection, false);
    menu->setItemState(selected, true);
    m_lastSelection = selected;
    // Only a pop-up that has the always-open entry has its mark to keep right; Vexilo's own
    // entry lists a language at index 0.
    if (menu->isSpecial(0) && m_currentListing && m_currentListing->hasAutomaticLanguage())
        menu->setItemState(0, m_currentListing->indexOfAutoLang() == selected - kFirstLanguage);
}

void Controller::windowWillClose()
{
    QApplication::quit();
}

// The selection panel of Controller.
#include "catalogue/Controller.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

void Controller::clickedListing(const AppListingPtr &listing)
{
    setCurrentListing(listing);
    if (!m_currentListing)
        return;
    if (langCountField)
        langCountField->show();
    if (nameLabel) {
        nameLabel->setText(m_currentListing->localizedAppName());
        nameLabel->show();
    }
    // The stored language is looked up on every selection: the copy starts untested.
    m_currentListing->hasAutomaticLanguage();
    if (openVersionsField) {
        const QString line = currentInstanceLanguageString();
        openVersionsField->setText(line);
        openVersionsField->setVisible(!line.isEmpty());
    }
}

void Controller::emptySelection()
{
    if (nameLabel)
        nameLabel->hide();
    if (langCountField)
        langCountField->hide();
    if (openVersionsField)
        openVersionsField->hide();
    if (launchButton)
        launchButton->setEnabled(false);
    if (menu) {
        menu->clear();
        menu->setEnabled(false);
    }
}

void Controller::languageSelectionChanged(QObject *sender) {}

void Controller::windowWillClose()
{
    QApplication::quit();
}

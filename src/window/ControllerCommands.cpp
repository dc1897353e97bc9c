// Help, about, feedback and donation commands of Controller.
#include "WindowPlacement.h"
#include "catalogue/Controller.h"

#include <QWidget>

void Controller::showHelp(QObject *sender) {}

void Controller::showAboutBox(QObject *sender)
{
    if (!aboutBox)
        return;
    centreOnScreen(aboutBox);
    aboutBox->show();
    aboutBox->raise();
    aboutBox->activateWindow();
}

void Controller::sendFeedback(QObject *sender) {}

void Controller::donate(QObject *sender) {}

void Controller::showDonationReminderIfDue() {}

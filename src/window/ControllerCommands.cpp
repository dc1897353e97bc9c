// Help, about, feedback and donation commands of Controller.
#include "catalogue/Controller.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void Controller::showHelp(QObject *sender) {}

void Controller::showAboutBox(QObject *sender)
{
    if (!aboutBox)
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = aboutBox->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        aboutBox->move(frame.topLeft());
    }
    aboutBox->show();
    aboutBox->raise();
    aboutBox->activateWindow();
}

void Controller::sendFeedback(QObject *sender) {}

void Controller::donate(QObject *sender) {}

void Controller::showDonationReminderIfDue() {}

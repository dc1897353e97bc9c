// Adding, removing and hiding applications.
#include "Controller.h"

void Controller::add(QObject *sender) {}

void Controller::removeAppAtIndex(int index) {}

void Controller::showAppList(QObject *sender) {}

void Controller::hideAppListOK(QObject *sender) {}

void Controller::hideAppListCancel(QObject *sender) {}

void Controller::prefsChanged(QObject *sender) {}

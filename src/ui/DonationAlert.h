#pragma once

#include "about/DonationReminder.h"

class QWidget;

// Shows the donation reminder application-modally and waits: true when the user chose
// "Donate Now" (the default button), false for "Not yet" or Escape.
bool askToDonate(QWidget *parent, const DonationReminder::Texts &texts);

#pragma once

class QWidget;

// Centres a window on its screen, at the size it will show at.
void centreOnScreen(QWidget *window);

#pragma once

#include "text/SheetText.h"

#include <functional>

class QMessageBox;
class QWidget;

// A sheet: a message box modal to its window only, which never blocks the event loop. Its
// answer reaches `done` once, true for "OK" and false for "Cancel" (and for a window that closes
// it otherwise).
namespace Sheet {

// `copyable`: the message holds what the user is to copy (an address): it is shown whole and can
// be selected.
QMessageBox *open(QWidget *window, const SheetText &text,
                  std::function<void(bool accepted)> done = {}, bool copyable = false);

} // namespace Sheet

#pragma once

#include <QStringList>
#include <functional>

class QFileDialog;
class QWidget;

// The file chooser of the Add command: application bundles (.app folders), several at once,
// modal to the whole application. It returns at once; `done` gets the chosen paths, in the
// chooser's order, or nothing when the user cancels.
namespace ApplicationChooser {

using Done = std::function<void(const QStringList &paths)>;

QFileDialog *open(QWidget *parent, Done done);

} // namespace ApplicationChooser

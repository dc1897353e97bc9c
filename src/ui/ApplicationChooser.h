#pragma once

#include <QStringList>
#include <functional>

class QFileDialog;
class QWidget;

// The file chooser of the Add command, titled for what it does and opening in the applications
// folder the first time in a run: the desktop's own where the platform offers one (one bundle
// at a time), else Qt's, taught to choose several application bundles (.app folders) and to
// open plain folders rather than choose them. Modal to the whole application. It returns at
// once; `done` gets the chosen paths, in the chooser's order, or nothing when the user cancels.
// Whatever it hands over, the caller still checks that each path is an application.
namespace ApplicationChooser {

using Done = std::function<void(const QStringList &paths)>;

QFileDialog *open(QWidget *parent, const QString &applicationsFolder, Done done);

} // namespace ApplicationChooser

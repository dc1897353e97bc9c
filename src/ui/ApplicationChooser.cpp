#include "ApplicationChooser.h"

#include "text/Texts.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

// Where the chooser was left last in this run.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

bool isBundleName(const QString &name)
{
    return name.endsWith(QLatin1String(".app"));
}

// Qt's own chooser, once shown: the desktop's leaves its widgets uncreated.
bool usesOwnWidgets(const QFileDialog *dialog)
{
    return !dialog->testAttribute(Qt::WA_DontShowOnScreen) &&
           dialog->findChild<QAbstractItemView *>() != nullptr;
}

class Chooser : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    // A plain folder, selected or typed as a path, is opened rather than chosen: only
    // applications are added.
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (usesOwnWidgets(this) && files.size() == 1 && !isBundleName(files.first()) &&
            QFileInfo(files.first()).isDir()) {
            setDirectory(files.first());
            if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
                edit->clear();
                // Its completions were those of the path just typed.
                if (edit->completer() && edit->completer()->popup())
                    edit->completer()->popup()->hide();
            }
            return;
        }
        QFileDialog::accept();
    }
};

// A bundle is an application, not a folder to open: a double click or Return on one chooses it,
// as it would in a file manager that knows bundles.
class BundlesAreChosen : public QObject {
public:
    BundlesAreChosen(QFileDialog *dialog, QAbstractItemView *view)
        : QObject(view), m_dialog(dialog), m_view(view)
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        QModelIndex index;
        if (event->type() == QEvent::MouseButtonDblClick)
            index = m_view->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::KeyPress &&
                 (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return ||
                  static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter))
            index = m_view->currentIndex();
        else
            return false;
        const QString name = index.siblingAtColumn(0).data().toString();
        if (!index.isValid() || !isBundleName(name))
            return false;
        // Return with several bundles selected chooses them all.
        if (event->type() == QEvent::MouseButtonDblClick ||
            m_view->selectionModel()->selectedRows().size() <= 1)
            m_dialog->selectFile(name);
        static_cast<QDialog *>(m_dialog)->accept();
        return true;
    }

private:
    QFileDialog *m_dialog;
    QAbstractItemView *m_view;
};

} // namespace

namespace ApplicationChooser {

QFileDialog *open(QWidget *parent, const QString &applicationsFolder, Done done)
{
    QString start = lastFolder();
    if (start.isEmpty())
        start = QFileInfo(applicationsFolder).isDir() ? applicationsFolder : QDir::homePath();
    auto *dialog = new Chooser(parent, Vexilo::tr("Add Applications"), start);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The desktop's chooser where there is one; it picks a single folder, which Vexilo checks.
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setLabelText(QFileDialog::Accept, Vexilo::tr("Add"));
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QFileDialog::finished, dialog,
                     [dialog, done = std::move(done)](int result) {
                         lastFolder() = dialog->directory().absolutePath();
                         const QStringList paths =
                             result == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
                         if (done)
                             done(paths);
                     });
    // Not open(), which would make it modal to its parent window only.
    dialog->show();
    if (usesOwnWidgets(dialog)) {
        for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>()) {
            if (view->objectName() != QLatin1String("listView") &&
                view->objectName() != QLatin1String("treeView"))
                continue;
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
            view->viewport()->installEventFilter(new BundlesAreChosen(dialog, view));
            view->installEventFilter(new BundlesAreChosen(dialog, view));
        }
    }
    return dialog;
}

} // namespace ApplicationChooser

#include "ApplicationChooser.h"

#include "text/Texts.h"

#include <QAbstractItemView>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Where the chooser opened last in this run; the home folder the first time.
QString &lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

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
        if (!index.isValid() || !name.endsWith(QLatin1String(".app")))
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

QFileDialog *open(QWidget *parent, Done done)
{
    auto *dialog = new QFileDialog(parent, Vexilo::tr("Add"), lastFolder());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The platform's own dialogs choose a single folder; Qt's can be taught several.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setLabelText(QFileDialog::Accept, Vexilo::tr("Add"));
    dialog->setWindowModality(Qt::ApplicationModal);
    for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>()) {
        if (view->objectName() != QLatin1String("listView") &&
            view->objectName() != QLatin1String("treeView"))
            continue;
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->viewport()->installEventFilter(new BundlesAreChosen(dialog, view));
        view->installEventFilter(new BundlesAreChosen(dialog, view));
    }
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
    return dialog;
}

} // namespace ApplicationChooser

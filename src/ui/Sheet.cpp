#include "Sheet.h"

#include "text/Texts.h"

#include <QMessageBox>
#include <QPushButton>

namespace Sheet {

QMessageBox *open(QWidget *window, const SheetText &text, std::function<void(bool accepted)> done)
{
    auto *box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(text.isQuestion ? QMessageBox::Question : QMessageBox::Information);
    box->setWindowTitle(text.title);
    box->setText(text.title);
    box->setInformativeText(text.message);
    // "OK" is the same word in every language Vexilo speaks; "Cancel" is not.
    QPushButton *ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    if (text.isQuestion)
        box->setEscapeButton(box->addButton(Vexilo::tr("Cancel"), QMessageBox::RejectRole));
    else
        box->setEscapeButton(ok);
    QObject::connect(box, &QMessageBox::finished, box, [box, ok, done = std::move(done)] {
        if (done)
            done(box->clickedButton() == ok);
    });
    box->open();
    return box;
}

} // namespace Sheet

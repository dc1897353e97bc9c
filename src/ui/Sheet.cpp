#include "Sheet.h"

#include "Elision.h"
#include "text/Texts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace Sheet {

namespace {
// Wide enough for any sentence Vexilo says; names without blanks give way.
constexpr int kTextWidth = 420;
} // namespace

QMessageBox *open(QWidget *window, const SheetText &text, std::function<void(bool accepted)> done,
                  bool copyable)
{
    auto *box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(text.isQuestion ? QMessageBox::Question : QMessageBox::Information);
    // A long name without blanks would not wrap and would stretch the box past the screen.
    const auto fitting = [box](const QString &t) {
        return Elision::unbreakableRuns(t, box->fontMetrics(), kTextWidth);
    };
    // Names from files are never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(fitting(text.title));
    box->setText(fitting(text.title));
    box->setInformativeText(copyable ? text.message : fitting(text.message));
    if (copyable) {
        for (QLabel *label : box->findChildren<QLabel *>())
            label->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
    }
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

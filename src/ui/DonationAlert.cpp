#include "DonationAlert.h"

#include <QMessageBox>
#include <QPushButton>

bool askToDonate(QWidget *parent, const DonationReminder::Texts &texts)
{
    QMessageBox box(parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(texts.title);
    box.setText(texts.title);
    box.setInformativeText(texts.message);
    box.setTextFormat(Qt::PlainText);
    QPushButton *donate = box.addButton(texts.donateButton, QMessageBox::AcceptRole);
    QPushButton *later = box.addButton(texts.laterButton, QMessageBox::RejectRole);
    box.setDefaultButton(donate);
    box.setEscapeButton(later);
    box.exec();
    return box.clickedButton() == donate;
}

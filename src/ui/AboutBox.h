#pragma once

#include "about/AboutTexts.h"

#include <QDialog>

class QLabel;
class QTextBrowser;

// Vexilo's version, promotional line and credits.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    void setTexts(const AboutTexts &texts);

private:
    QLabel *m_version;
    QLabel *m_promoLine;
    QTextBrowser *m_credits;
};

#pragma once

#include "about/AboutTexts.h"
#include "chrome/Glass.h"

class QLabel;
class QTextBrowser;

// Vexilo's version, promotional line and credits, on glass.
class AboutBox : public Glass {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    void setTexts(const AboutTexts &texts);

private:
    QLabel *m_version;
    QLabel *m_promoLine;
    QTextBrowser *m_credits;
};

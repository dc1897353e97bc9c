#include "AboutBox.h"

#include "text/Texts.h"

#include <QApplication>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent), m_version(new QLabel(this)), m_promoLine(new QLabel(this)),
      m_credits(new QTextBrowser(this))
{
    setWindowTitle(Vexilo::tr("About Vexilo"));
    auto *layout = new QVBoxLayout(this);
    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignHCenter);
    layout->addWidget(icon);
    auto *title = new QLabel(QStringLiteral("<h2>Vexilo</h2>"), this);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);
    m_version->setAlignment(Qt::AlignHCenter);
    layout->addWidget(m_version);
    m_promoLine->setAlignment(Qt::AlignHCenter);
    m_promoLine->setWordWrap(true);
    layout->addWidget(m_promoLine);
    m_credits->setOpenExternalLinks(true);
    m_credits->setMinimumSize(360, 200);
    m_credits->setAccessibleName(Vexilo::tr("Credits"));
    layout->addWidget(m_credits);
}

void AboutBox::setTexts(const AboutTexts &texts)
{
    m_version->setText(texts.version);
    m_promoLine->setText(texts.promoLine);
    if (texts.creditsPath.isEmpty())
        m_credits->clear();
    else
        m_credits->setSource(QUrl::fromLocalFile(texts.creditsPath));
    // The text starts at its beginning, with nothing selected.
    m_credits->moveCursor(QTextCursor::Start);
}

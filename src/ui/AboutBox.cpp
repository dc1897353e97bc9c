#include "AboutBox.h"

#include "chrome/RoundedWindowView.h"
#include "text/Texts.h"

#include <QApplication>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget *parent)
    : Glass(parent), m_version(new QLabel(this)), m_promoLine(new QLabel(this)),
      m_credits(new QTextBrowser)
{
    setWindowTitle(Vexilo::tr("About Vexilo"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(6);

    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(96, 96));
    icon->setAlignment(Qt::AlignHCenter);
    layout->addWidget(icon);

    auto *title = new QLabel(QStringLiteral("Vexilo"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);

    m_version->setAlignment(Qt::AlignHCenter);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_version);

    QFont promoFont = m_promoLine->font();
    promoFont.setItalic(true);
    m_promoLine->setFont(promoFont);
    m_promoLine->setAlignment(Qt::AlignHCenter);
    m_promoLine->setWordWrap(true);
    layout->addWidget(m_promoLine);
    layout->addSpacing(10);

    // The credits sit on a darker rounded card; the text view itself paints no background.
    auto *card = new RoundedWindowView(this);
    auto *cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(12, 8, 12, 8);
    m_credits->setFrameShape(QFrame::NoFrame);
    m_credits->viewport()->setAutoFillBackground(false);
    m_credits->setOpenExternalLinks(true);
    m_credits->setMinimumSize(380, 220);
    m_credits->setAccessibleName(Vexilo::tr("Credits"));
    cardLayout->addWidget(m_credits);
    layout->addWidget(card, 1);
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

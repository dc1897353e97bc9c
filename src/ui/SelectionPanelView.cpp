#include "SelectionPanelView.h"

#include "Elision.h"
#include "LanguagePopUp.h"
#include "SpinningIndicator.h"
#include "text/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The application's name, elided to the width the panel has: a name as long as a file may hold
// neither widens the window nor is painted in full. Its text, whole, is what a screen reader
// reads.
class NameLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override
    {
        return {fontMetrics().averageCharWidth() * 4, QLabel::minimumSizeHint().height()};
    }
    QSize sizeHint() const override
    {
        const QSize full = QLabel::sizeHint();
        return {qMin(full.width(), fontMetrics().averageCharWidth() * 40), full.height()};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(),
                              Elision::name(text(), fontMetrics(), area.width()), foregroundRole());
    }
};

} // namespace

SelectionPanelView::SelectionPanelView(QWidget *parent)
    : QWidget(parent), m_name(new NameLabel(this)), m_count(new QLabel(this)),
      m_running(new QLabel(this)), m_popUp(new LanguagePopUp(this)),
      m_spinner(new SpinningIndicator(this)), m_launch(new QPushButton(Vexilo::tr("Launch"), this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    // Names and language names come from files: never read as markup.
    for (QLabel *label : {m_name, m_count, m_running})
        label->setTextFormat(Qt::PlainText);
    QFont nameFont = m_name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    m_name->setFont(nameFont);
    // Read as the name it shows; what the field is comes after it.
    m_name->setAccessibleDescription(Vexilo::tr("Application"));
    layout->addWidget(m_name);
    layout->addWidget(m_count);
    layout->addWidget(m_running);

    auto *controls = new QHBoxLayout;
    m_popUp->setMinimumWidth(260);
    m_popUp->setAccessibleName(Vexilo::tr("Language"));
    controls->addWidget(m_popUp);
    controls->addStretch();
    // Its place is kept, so the button does not move when it shows.
    QSizePolicy keepPlace = m_spinner->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_spinner->setSizePolicy(keepPlace);
    m_spinner->hide();
    controls->addWidget(m_spinner);
    m_launch->setDefault(true);
    // A click leaves the focus where it was: the button waits while launching, and a disabled
    // button would hand its focus to the search field.
    m_launch->setFocusPolicy(Qt::TabFocus);
    controls->addWidget(m_launch);
    layout->addLayout(controls);

    connect(m_popUp, &LanguagePopUp::itemChosen, this, &SelectionPanelView::languageChosen);
    connect(m_popUp, &LanguagePopUp::specialItemChosen, this, [this] {
        // The always-open entry is a command, not a language: the chosen language stays shown.
        m_popUp->setEntries(m_content.entries, m_content.selectedEntry);
        emit alwaysOpenChosen();
    });
    connect(m_launch, &QPushButton::clicked, this, &SelectionPanelView::launchClicked);

    showContent(Panel::blank());
}

void SelectionPanelView::showContent(const PanelContent &content)
{
    m_content = content;
    m_name->setText(content.name);
    m_name->setVisible(content.showsApplication);
    m_count->setText(content.countText);
    m_count->setVisible(content.showsApplication);
    m_running->setText(content.runningLine);
    m_running->setVisible(content.runningLineVisible);
    m_popUp->setEntries(content.entries, content.selectedEntry);
    m_popUp->setEnabled(content.popUpEnabled);
    // While launch work runs the button waits, whatever is selected meanwhile.
    m_launch->setText(content.launching ? Vexilo::tr("Launching...") : Vexilo::tr("Launch"));
    m_launch->setEnabled(content.launchEnabled && !content.launching);
    m_spinner->setVisible(content.launching);
}

#include "HiddenAppsSheet.h"

#include "HiddenAppsTableModel.h"
#include "chrome/VXTableView.h"
#include "text/Texts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HiddenAppsSheet::HiddenAppsSheet(QWidget *window, HiddenAppsList list)
    : Glass(window, Qt::Sheet), m_model(new HiddenAppsTableModel(std::move(list), this)),
      m_table(new VXTableView(this))
{
    setWindowTitle(Vexilo::tr("Show Apps"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    auto *intro = new QLabel(Vexilo::tr("Choose the applications Vexilo shows."), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_table->setModel(m_model);
    m_table->setAccessibleName(Vexilo::tr("Applications"));
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    // Tab leaves the table for the buttons; the arrows move between the check boxes.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(25);
    QHeaderView *columns = m_table->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(m_model->column(QStringLiteral("applicationName")),
                                  QHeaderView::Stretch);
    layout->addWidget(m_table, 1);

    auto *buttons = new QDialogButtonBox(this);
    // "OK" is the same word in every language Vexilo speaks; "Cancel" is not.
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Vexilo::tr("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The keyboard starts on the first check box that can be switched.
    const int shown = m_model->column(QStringLiteral("shown"));
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->list().canSwitch(row)) {
            m_table->setCurrentIndex(m_model->index(row, shown));
            break;
        }
    }
    m_table->setFocus();
    resize(440, 420);
}

HiddenAppsSheet *HiddenAppsSheet::showOn(QWidget *window, HiddenAppsList list, Done done)
{
    auto *sheet = new HiddenAppsSheet(window, std::move(list));
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    connect(sheet, &QDialog::finished, sheet, [sheet, done = std::move(done)](int result) {
        if (!done)
            return;
        if (result == QDialog::Accepted)
            done(sheet->m_model->list());
        else
            done(std::nullopt);
    });
    sheet->open();
    return sheet;
}

#include "MainWindow.h"

#include "AboutBox.h"
#include "AppRowView.h"
#include "HelpWindow.h"
#include "SelectionPanelView.h"
#include "Sheet.h"
#include "WindowPlacement.h"
#include "chrome/GlassLook.h"
#include "chrome/RoundedWindowView.h"
#include "row/RowGeometry.h"
#include "text/Texts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

MainWindow::MainWindow(RowBrowser &row, QWidget *parent)
    : QMainWindow(parent), m_search(new QLineEdit), m_scroll(new QScrollArea),
      m_row(new AppRowView(row)), m_panel(new SelectionPanelView), m_progress(new QProgressBar)
{
    setWindowTitle(QStringLiteral("Vexilo"));
    GlassLook::apply(this);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->setSpacing(6);

    auto *searchRow = new QHBoxLayout;
    searchRow->addStretch();
    m_search->setPlaceholderText(Vexilo::tr("Search"));
    m_search->setAccessibleName(Vexilo::tr("Search"));
    m_search->setClearButtonEnabled(true);
    m_search->setFixedWidth(200);
    searchRow->addWidget(m_search);
    layout->addLayout(searchRow);

    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so the row's visible height is always the row's own.
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setFixedHeight(RowGeometry::kRowHeight + 2 * m_scroll->frameWidth() +
                             m_scroll->horizontalScrollBar()->sizeHint().height());
    m_scroll->setWidget(m_row);
    // The row is the tab stop, with its focus frame; the area around it is none.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_row->setAccessibleName(Vexilo::tr("Applications"));
    layout->addWidget(m_scroll);

    // The selection panel on a darker rounded card below the row.
    auto *card = new RoundedWindowView;
    auto *cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(12, 10, 12, 10);
    cardLayout->addWidget(m_panel);
    layout->addWidget(card);

    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(Vexilo::tr("Loading applications…"));
    m_progress->setRange(0, 0);
    layout->addWidget(m_progress);
    layout->addStretch();
    setCentralWidget(central);

    connect(m_search, &QLineEdit::textChanged, this, &MainWindow::searchTextChanged);
    // Ctrl+F goes to the search; Escape there clears it and hands the keys back to the row.
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    connect(new QShortcut(Qt::Key_Escape, m_search, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, [this] {
                m_search->clear();
                m_row->setFocus(Qt::OtherFocusReason);
            });
    connect(m_row, &AppRowView::typed, this, [this](const QString &text) {
        m_search->setFocus(Qt::OtherFocusReason);
        m_search->setText(text);
    });
    connect(m_row, &AppRowView::launchRequested, this, [this] {
        if (m_launchEnabled)
            emit launchRequested();
    });
    connect(m_panel, &SelectionPanelView::languageChosen, this, &MainWindow::languageChosen);
    connect(m_panel, &SelectionPanelView::alwaysOpenChosen, this, &MainWindow::alwaysOpenChosen);
    connect(m_panel, &SelectionPanelView::launchClicked, this, &MainWindow::launchRequested);

    buildMenus();
    // The row takes the keys first: the arrows move the selection.
    m_row->setFocus();
    // As tall as the panel needs with every line shown.
    resize(720, sizeHint().height() + m_panel->fontMetrics().height() * 2);
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(Vexilo::tr("&File"));
    m_addAction = file->addAction(Vexilo::tr("&Add Application…"), this, &MainWindow::addRequested);
    m_addAction->setShortcut(QKeySequence::Open);
    m_addAction->setEnabled(false);
    file->addSeparator();
    file->addAction(Vexilo::tr("&Close"), this, &QWidget::close)->setShortcut(QKeySequence::Close);
    file->addAction(Vexilo::tr("&Quit Vexilo"), this, &QWidget::close)
        ->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(Vexilo::tr("&Edit"));
    m_showAppsAction =
        edit->addAction(Vexilo::tr("&Show Apps"), this, &MainWindow::showAppsRequested);
    m_showAppsAction->setEnabled(false);

    QMenu *window = menuBar()->addMenu(Vexilo::tr("&Window"));
    window->addAction(Vexilo::tr("&Minimize"), this, &QWidget::showMinimized)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));

    QMenu *help = menuBar()->addMenu(Vexilo::tr("&Help"));
    help->addAction(Vexilo::tr("Vexilo &Help"), this, &MainWindow::helpRequested)
        ->setShortcut(QKeySequence::HelpContents);
    help->addAction(Vexilo::tr("Send &Feedback…"), this, &MainWindow::feedbackRequested);
    help->addAction(Vexilo::tr("&Donate…"), this, &MainWindow::donateRequested);
    help->addSeparator();
    QAction *about =
        help->addAction(Vexilo::tr("&About Vexilo"), this, &MainWindow::aboutRequested);
    about->setMenuRole(QAction::AboutRole);
}

void MainWindow::setLoadingProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
}

void MainWindow::finishLoading()
{
    m_progress->hide();
    m_addAction->setEnabled(true);
    m_showAppsAction->setEnabled(true);
}

void MainWindow::clearSearch()
{
    m_search->clear();
}

void MainWindow::setGenericIcon(std::function<QImage()> source)
{
    m_row->setGenericIcon(std::move(source));
}

void MainWindow::showPanel(const PanelContent &content)
{
    m_launchEnabled = content.launchEnabled && !content.launching;
    m_panel->showContent(content);
}

void MainWindow::setAboutTexts(const AboutTexts &texts)
{
    m_aboutTexts = texts;
    if (m_aboutBox)
        m_aboutBox->setTexts(texts);
}

void MainWindow::showAboutBox()
{
    if (!m_aboutBox) {
        m_aboutBox = new AboutBox(this);
        m_aboutBox->setTexts(m_aboutTexts);
    }
    centreOnScreen(m_aboutBox);
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    GlassLook::paintBackground(this);
}

void MainWindow::showSheet(const SheetText &text, std::function<void(bool accepted)> done)
{
    Sheet::open(this, text, std::move(done));
}

void MainWindow::showSheetToCopy(const SheetText &text)
{
    Sheet::open(this, text, {}, true);
}

void MainWindow::showHelpPage(const QString &path)
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showPage(path);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

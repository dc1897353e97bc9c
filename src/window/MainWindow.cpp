#include "MainWindow.h"

#include "LanguagePopUp.h"
#include "SpinningIndicator.h"
#include "UiText.h"
#include "browser/AppBrowseController.h"
#include "catalogue/Controller.h"

#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QVBoxLayout>

MainWindow::MainWindow(Controller &controller) : m_controller(controller)
{
    setWindowTitle(QStringLiteral("Vexilo"));
    controller.window = this;

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->setSpacing(6);

    auto *searchRow = new QHBoxLayout;
    searchRow->addStretch();
    auto *searchField = new QLineEdit(central);
    searchField->setPlaceholderText(uiText("Search"));
    searchField->setClearButtonEnabled(true);
    searchField->setFixedWidth(200);
    searchRow->addWidget(searchField);
    layout->addLayout(searchRow);

    auto *scroll = new QScrollArea(central);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setFixedHeight(116);
    auto *browser = new AppBrowseController;
    scroll->setWidget(browser);
    layout->addWidget(scroll);
    browser->controller = &controller;
    controller.browser = browser;
    connect(searchField, &QLineEdit::textChanged, browser, &AppBrowseController::search);

    auto *removeMenu = new QMenu(this);
    removeMenu->addAction(uiText("Remove"), browser, &AppBrowseController::remove);
    browser->removeMenu = removeMenu;

    auto *nameLabel = new QLabel(central);
    QFont nameFont = nameLabel->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    nameLabel->setFont(nameFont);
    nameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(nameLabel);
    controller.nameLabel = nameLabel;

    auto *langCountField = new QLabel(central);
    layout->addWidget(langCountField);
    controller.langCountField = langCountField;

    auto *openVersionsField = new QLabel(central);
    openVersionsField->hide();
    layout->addWidget(openVersionsField);
    controller.openVersionsField = openVersionsField;

    auto *controls = new QHBoxLayout;
    auto *menu = new LanguagePopUp(central);
    menu->setMinimumWidth(260);
    controls->addWidget(menu);
    connect(menu, &LanguagePopUp::itemChosen, &controller,
            [&controller, menu](int) { controller.languageSelectionChanged(menu); });
    connect(menu, &LanguagePopUp::specialItemChosen, &controller,
            [&controller, menu](int) { controller.persistencePrefClicked(menu); });
    controller.menu = menu;
    controls->addStretch();
    auto *progWheel = new SpinningIndicator(central);
    progWheel->hide();
    controls->addWidget(progWheel);
    controller.progWheel = progWheel;
    auto *launchButton = new QPushButton(uiText("Launch"), central);
    launchButton->setDefault(true);
    connect(launchButton, &QPushButton::clicked, &controller,
            [&controller, launchButton] { controller.launch(launchButton); });
    controls->addWidget(launchButton);
    controller.launchButton = launchButton;
    layout->addLayout(controls);

    auto *progBar = new QProgressBar(central);
    progBar->setTextVisible(false);
    progBar->setFormat(uiText("Loading applications…"));
    layout->addWidget(progBar);
    controller.progBar = progBar;
    // The bar follows the controller's progress, which the loading thread sets.
    connect(&controller, &Controller::maxValueChanged, progBar,
            [progBar](double max) { progBar->setMaximum(int(max)); });
    connect(&controller, &Controller::progressChanged, progBar,
            [progBar](double value) { progBar->setValue(int(value)); });

    layout->addStretch();
    setCentralWidget(central);
    // As tall as the panel needs, with room for the running-instance line.
    resize(720, sizeHint().height() + openVersionsField->sizeHint().height());

    controller.aboutBox = buildAboutBox();
    buildMenus();
}

QDialog *MainWindow::buildAboutBox()
{
    auto *box = new QDialog(this);
    box->setWindowTitle(uiText("About Vexilo"));
    auto *layout = new QVBoxLayout(box);
    auto *icon = new QLabel(box);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignHCenter);
    layout->addWidget(icon);
    auto *title = new QLabel(QStringLiteral("<h2>Vexilo</h2>"), box);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);
    auto *version = new QLabel(box);
    version->setAlignment(Qt::AlignHCenter);
    layout->addWidget(version);
    auto *promo = new QLabel(box);
    promo->setAlignment(Qt::AlignHCenter);
    promo->setWordWrap(true);
    layout->addWidget(promo);
    auto *credits = new QTextBrowser(box);
    credits->setOpenExternalLinks(true);
    credits->setMinimumSize(360, 200);
    layout->addWidget(credits);
    m_controller.creditsField = credits;
    connect(&m_controller, &Controller::aboutTextsChanged, box, [this, version, promo] {
        version->setText(m_controller.version());
        promo->setText(m_controller.marketingLine());
    });
    return box;
}

void MainWindow::buildMenus()
{
    Controller &c = m_controller;
    QMenu *file = menuBar()->addMenu(uiText("File"));
    QAction *add = file->addAction(uiText("Add Application…"));
    add->setShortcut(QKeySequence::Open);
    connect(add, &QAction::triggered, &c, [&c, add] { c.add(add); });
    file->addSeparator();
    QAction *close = file->addAction(uiText("Close"), this, &QWidget::close);
    close->setShortcut(QKeySequence::Close);
    QAction *quit = file->addAction(uiText("Quit Vexilo"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(uiText("Edit"));
    QAction *showApps = edit->addAction(uiText("Show Apps"));
    connect(showApps, &QAction::triggered, &c, [&c, showApps] { c.showAppList(showApps); });

    QMenu *windowMenu = menuBar()->addMenu(uiText("Window"));
    QAction *minimize = windowMenu->addAction(uiText("Minimize"), this, &QWidget::showMinimized);
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));

    QMenu *help = menuBar()->addMenu(uiText("Help"));
    QAction *helpAction = help->addAction(uiText("Vexilo Help"));
    helpAction->setShortcut(QKeySequence::HelpContents);
    connect(helpAction, &QAction::triggered, &c, [&c, helpAction] { c.showHelp(helpAction); });
    QAction *feedback = help->addAction(uiText("Send Feedback…"));
    connect(feedback, &QAction::triggered, &c, [&c, feedback] { c.sendFeedback(feedback); });
    QAction *donate = help->addAction(uiText("Donate…"));
    connect(donate, &QAction::triggered, &c, [&c, donate] { c.donate(donate); });
    help->addSeparator();
    QAction *about = help->addAction(uiText("About Vexilo"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, &c, [&c, about] { c.showAboutBox(about); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_controller.windowWillClose();
}

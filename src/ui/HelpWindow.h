#pragma once

#include <QWidget>

class QTextBrowser;

// Vexilo's help page shown by Vexilo itself, for a desktop where no browser could show it. The
// page is local HTML; its links to other pages of it work here too.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the page at `path` and brings the window to the front.
    void showPage(const QString &path);

private:
    QTextBrowser *m_browser;
};

#pragma once

#include "panel/PanelContent.h"

#include <QWidget>

class LanguagePopUp;
class QLabel;
class QPushButton;
class SpinningIndicator;

// The selected application's name, language count, running-instance line, language pop-up and
// Launch button. It shows a PanelContent and reports what the user does.
class SelectionPanelView : public QWidget {
    Q_OBJECT
public:
    explicit SelectionPanelView(QWidget *parent = nullptr);

    void showContent(const PanelContent &content);
    const PanelContent &content() const { return m_content; }

signals:
    void languageChosen(int entry);
    void alwaysOpenChosen();
    void launchClicked();

private:
    PanelContent m_content;
    QLabel *m_name;
    QLabel *m_count;
    QLabel *m_running;
    LanguagePopUp *m_popUp;
    SpinningIndicator *m_spinner;
    QPushButton *m_launch;
};

#pragma once

#include <QMainWindow>

class Controller;
class QDialog;
class QLabel;

// The main window and the about box with every control, menu command and connection the
// controller relies on.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Controller &controller);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    QDialog *buildAboutBox();

    Controller &m_controller;
};

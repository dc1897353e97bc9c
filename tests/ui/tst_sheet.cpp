#include "Sheet.h"
#include "TestEnvironment.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestSheet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::setLanguage("en_US", "en"); }

    // The sheet is modal to its window only and returns at once; its answer arrives later, once.
    void answers_data()
    {
        QTest::addColumn<bool>("isQuestion");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<bool>>("answers");
        QTest::newRow("OK") << true << "OK" << QList<bool>{true};
        QTest::newRow("Cancel") << true << "Cancel" << QList<bool>{false};
        QTest::newRow("information") << false << "OK" << QList<bool>{true};
        QTest::newRow("closed otherwise") << true << "" << QList<bool>{false};
    }
    void answers()
    {
        QFETCH(bool, isQuestion);
        QFETCH(QString, button);
        QFETCH(QList<bool>, answers);
        QWidget window;
        window.show();
        QList<bool> received;
        QMessageBox *box = Sheet::open(&window, {"Quit?", "Sure?", isQuestion},
                                       [&](bool accepted) { received.append(accepted); });
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QVERIFY(box->isVisible());
        QCOMPARE(box->buttons().size(), isQuestion ? 2 : 1);
        QVERIFY(received.isEmpty());
        if (button.isEmpty()) {
            box->reject();
        } else {
            for (QAbstractButton *b : box->buttons()) {
                if (b->text() == button)
                    b->click();
            }
        }
        QTRY_COMPARE(received, answers);
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"

#include "DonationAlert.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestDonationAlert : public QObject {
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<bool>("donate");
        QTest::newRow("Donate Now") << u"Donate Now"_s << true;
        QTest::newRow("Not yet") << u"Not yet"_s << false;
        QTest::newRow("Return takes the default") << u"Return"_s << true;
        QTest::newRow("Escape") << u"Escape"_s << false;
    }
    void answers()
    {
        QFETCH(QString, press);
        QFETCH(bool, donate);
        const DonationReminder::Texts texts = DonationReminder::texts();
        // What the alert shows, noted once its event loop runs, before it is answered.
        Qt::WindowModality modality = Qt::NonModal;
        QString text, message, shownMessage, defaultButton;
        QStringList buttons;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            modality = box->windowModality();
            text = box->text();
            message = box->informativeText();
            if (auto *label = box->findChild<QLabel *>("qt_msgbox_informativelabel"))
                shownMessage = label->text();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton *button : box->buttons())
                buttons.append(button->text());
            if (press == u"Return"_s)
                QTest::keyClick(box, Qt::Key_Return);
            else if (press == u"Escape"_s)
                QTest::keyClick(box, Qt::Key_Escape);
            for (QAbstractButton *button : box->buttons())
                if (button->text() == press)
                    button->click();
        });
        QCOMPARE(askToDonate(nullptr, texts), donate);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(text, u"Thank you for using Vexilo!"_s);
        QCOMPARE(message, texts.message);
        // The message is shown as written, line breaks included.
        QVERIFY(shownMessage.contains(u"costs.\n\n(If you've donated already"_s));
        QCOMPARE(buttons.size(), 2);
        QVERIFY(buttons.contains(u"Not yet"_s));
        QCOMPARE(defaultButton, u"Donate Now"_s);
    }
};

QTEST_MAIN(TestDonationAlert)
#include "tst_donationalert.moc"

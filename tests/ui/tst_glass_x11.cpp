#include "AboutBox.h"
#include "about/AboutTexts.h"
#include "chrome/GlassLook.h"

#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <xcb/xcb.h>

namespace {

double luminance(const QColor &c)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The contrast ratio of two opaque colours, 1 to 21; 4.5 is the least for readable text.
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// Stands in for a compositing manager: owns the selection that announces one.
class FakeCompositor {
public:
    FakeCompositor()
    {
        int screen = 0;
        m_connection = xcb_connect(nullptr, &screen);
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < screen; ++i)
            xcb_screen_next(&it);
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, it.data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.data()),
            nullptr);
        xcb_set_selection_owner(m_connection, window, atom->atom, XCB_CURRENT_TIME);
        free(atom);
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    ~FakeCompositor() { xcb_disconnect(m_connection); }

private:
    xcb_connection_t *m_connection;
};

} // namespace

// Under Xvfb, which has no compositing manager until the test plays one.
class TestGlass : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (run under xvfb-run)");
    }

    // Translucent only where a compositing manager blends it with what is beneath; light text
    // on the glass, whatever shows through it: checked against the lightest backdrop, white, and
    // on the opaque stand-in.
    void aboutBoxIsReadableOnEveryDisplay_data()
    {
        QTest::addColumn<bool>("compositing");
        QTest::newRow("no compositor") << false;
        QTest::newRow("compositing") << true;
    }
    void aboutBoxIsReadableOnEveryDisplay()
    {
        QFETCH(bool, compositing);
        std::optional<FakeCompositor> compositor;
        if (compositing)
            compositor.emplace();
        AboutBox box;
        box.setTexts(aboutTexts(QStringLiteral(VEXILO_TEST_BUNDLE)));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(GlassLook::isTranslucent(&box), compositing);
        QCOMPARE(box.windowHandle()->format().hasAlpha(), compositing);

        // The window as the screen shows it over a white desktop.
        QImage window(box.size(), QImage::Format_ARGB32_Premultiplied);
        window.fill(Qt::transparent);
        box.render(&window);
        QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter(&image).drawImage(0, 0, window);
        const QColor background = compositing ? QColor(51, 51, 51) : QColor(26, 26, 26);
        QCOMPARE(image.pixelColor(1, 1), background);

        // Every label: its lightest pixel against the glass around it.
        int labels = 0;
        for (QLabel *label : box.findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->isVisible())
                continue;
            const QRect area(label->mapTo(&box, QPoint(0, 0)), label->size());
            double best = 1;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    best = qMax(best, contrast(image.pixelColor(x, y), background));
            QVERIFY2(best >= 4.5, qPrintable(label->text()));
            ++labels;
        }
        QVERIFY(labels >= 3);

        // Every run of the credits in the colour it asks for, else the view's text colour.
        auto *credits = box.findChild<QTextBrowser *>();
        QVERIFY(credits->toPlainText().contains("Libraries"));
        for (QTextBlock block = credits->document()->begin(); block.isValid();
             block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const QColor color = format.hasProperty(QTextFormat::ForegroundBrush)
                                         ? format.foreground().color()
                                         : credits->palette().color(QPalette::Text);
                QVERIFY2(contrast(color, background) >= 4.5,
                         qPrintable(it.fragment().text() + " in " + color.name()));
            }
        }
    }
};

QTEST_MAIN(TestGlass)
#include "tst_glass_x11.moc"

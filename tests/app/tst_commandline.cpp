#include "CommandLine.h"

#include <QTest>

using CommandLine::Command;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<Command>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const QStringList x11{"DISPLAY=:0"};
        QTest::newRow("a window on X11") << QStringList{} << x11 << Command::OpenWindow << 0 << "";
        QTest::newRow("a window on Wayland")
            << QStringList{} << QStringList{"WAYLAND_DISPLAY=wayland-0"} << Command::OpenWindow << 0
            << "";
        QTest::newRow("help without a display")
            << QStringList{"--help"} << QStringList{} << Command::Help << 0 << "Usage: vexilo";
        QTest::newRow("version") << QStringList{"--version"} << x11 << Command::Version << 0
                                 << "Vexilo " VEXILO_VERSION "\n";
        QTest::newRow("no display")
            << QStringList{} << QStringList{} << Command::Refused << 1 << "vexilo: no display";
        QTest::newRow("X11 named, only Wayland there")
            << QStringList{} << QStringList{"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=w"}
            << Command::Refused << 1 << "vexilo: no display";
        QTest::newRow("offscreen needs none")
            << QStringList{} << QStringList{"QT_QPA_PLATFORM=offscreen"} << Command::OpenWindow << 0
            << "";
        QTest::newRow("Qt's -platform option") << QStringList{"-platform", "offscreen"}
                                               << QStringList{} << Command::OpenWindow << 0 << "";
        QTest::newRow("a list falls back")
            << QStringList{} << QStringList{"QT_QPA_PLATFORM=wayland;xcb", "DISPLAY=:1"}
            << Command::OpenWindow << 0 << "";
        QTest::newRow("unknown argument") << QStringList{"list"} << x11 << Command::Refused << 2
                                          << "vexilo: unknown argument list";
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(QString, text);
        const CommandLine::Request request =
            CommandLine::parse(arguments, [&](const char *name) -> QString {
                for (const QString &pair : environment) {
                    if (pair.section(u'=', 0, 0) == QLatin1String(name))
                        return pair.section(u'=', 1);
                }
                return {};
            });
        QTEST(request.command, "command");
        QTEST(request.exitStatus, "status");
        QCOMPARE(request.text.left(text.size()), text);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

#include "CommandLine.h"
#include "TestFiles.h"

#include <QTest>

using CommandLine::Command;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<Command>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *tag, const char *arguments, const char *environment,
                            Command command, int status = 0, const char *text = "") {
            QTest::newRow(tag) << QString(arguments) << QString(environment) << command << status
                               << QString(text);
        };
        row("a window on X11", "", "DISPLAY=:0", Command::OpenWindow);
        row("a window on Wayland", "", "WAYLAND_DISPLAY=wayland-0", Command::OpenWindow);
        row("help without a display", "--help", "", Command::Help, 0, "Usage: vexilo");
        row("version", "--version", "DISPLAY=:0", Command::Version, 0,
            "Vexilo " VEXILO_VERSION "\n");
        row("no display", "", "", Command::Refused, 1, "vexilo: no display");
        row("X11 named, only Wayland there", "", "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=w",
            Command::Refused, 1, "vexilo: no display");
        row("offscreen needs none", "", "QT_QPA_PLATFORM=offscreen", Command::OpenWindow);
        row("Qt's -platform option", "-platform offscreen", "", Command::OpenWindow);
        row("a list falls back", "", "QT_QPA_PLATFORM=wayland;xcb DISPLAY=:1", Command::OpenWindow);
        row("unknown argument", "list", "DISPLAY=:0", Command::Refused, 2,
            "vexilo: unknown argument list");
    }
    void parse()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, environment);
        QFETCH(QString, text);
        const CommandLine::Request request = CommandLine::parse(
            words(arguments), [variables = environmentOf(environment)](const char *name) {
                return variables.value(QString::fromLatin1(name));
            });
        QTEST(request.command, "command");
        QTEST(request.exitStatus, "status");
        QCOMPARE(request.text.left(text.size()), text);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

// Precompiled once per library tested, for its tests: Qt Test and the Qt and standard headers
// most tests include. Only system headers, so that a change to the program does not rebuild it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#endif

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/displaycheck.h"

#include <QMap>
#include <QtTest>

using Environment = QMap<QString, QString>;
Q_DECLARE_METATYPE(Environment)

class TestDisplayCheck : public QObject {
    Q_OBJECT

private slots:
    void hasDisplay_data();
    void hasDisplay();
};

void TestDisplayCheck::hasDisplay_data()
{
    QTest::addColumn<bool>("xOrWayland");
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<bool>("expected");
    QTest::newRow("X11 without variables") << true << Environment{} << false;
    QTest::newRow("X11 with empty DISPLAY") << true << Environment{{"DISPLAY", ""}} << false;
    QTest::newRow("X11 with DISPLAY") << true << Environment{{"DISPLAY", ":0"}} << true;
    QTest::newRow("Wayland") << true << Environment{{"WAYLAND_DISPLAY", "wayland-0"}} << true;
    QTest::newRow("platform chosen")
        << true << Environment{{"QT_QPA_PLATFORM", "offscreen"}} << true;
    // Windows and macOS have no such variables and always a display.
    QTest::newRow("Windows or macOS") << false << Environment{} << true;
}

void TestDisplayCheck::hasDisplay()
{
    QFETCH(bool, xOrWayland);
    QFETCH(Environment, environment);
    QFETCH(bool, expected);
    QByteArray held;
    const auto lookup = [&](const char *name) -> const char * {
        const auto found = environment.constFind(QString::fromLatin1(name));
        if (found == environment.cend())
            return nullptr;
        held = found->toLatin1();
        return held.constData();
    };
    QCOMPARE(zorvik::hasDisplay(xOrWayland, lookup), expected);
}

QTEST_APPLESS_MAIN(TestDisplayCheck)
#include "test_displaycheck.moc"

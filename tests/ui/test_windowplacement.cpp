#include "ini.h"
#include "util.h"
#include "windowplacement.h"
#include "workarea.h"

#include <QBuffer>
#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(WindowBounds)

namespace QTest {
template <> char *toString(const WindowBounds &b)
{
    return qstrdup(
        QStringLiteral("(%1, %2, %3 x %4)").arg(b.left).arg(b.top).arg(b.width).arg(b.height).toUtf8().constData());
}
} // namespace QTest

class TestWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void fit_data();
    void fit();
    void loadBounds_data();
    void loadBounds();
    void widgets();
};

void TestWindowPlacement::fit_data()
{
    QTest::addColumn<WindowBounds>("stored");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<WindowBounds>("expected");
    const QRect area(0, 0, 1024, 738);
    QTest::newRow("fits") << WindowBounds{10, 10, 600, 400} << area << WindowBounds{10, 10, 600, 400};
    QTest::newRow("exactly fills") << WindowBounds{0, 0, 1024, 738} << area << WindowBounds{0, 0, 1024, 738};
    QTest::newRow("over right edge") << WindowBounds{700, 10, 600, 400} << area << WindowBounds{424, 10, 600, 400};
    QTest::newRow("over bottom edge") << WindowBounds{10, 500, 600, 400} << area << WindowBounds{10, 338, 600, 400};
    QTest::newRow("wider than work area: left 0, width = right edge")
        << WindowBounds{50, 10, 1300, 400} << area << WindowBounds{0, 10, 1024, 400};
    QTest::newRow("taller than work area") << WindowBounds{10, 20, 600, 900} << area << WindowBounds{10, 0, 600, 738};
    QTest::newRow("beyond right edge") << WindowBounds{1900, 10, 300, 200} << area << WindowBounds{0, 10, 300, 200};
    QTest::newRow("beyond bottom edge") << WindowBounds{10, 1000, 300, 200} << area << WindowBounds{10, 0, 300, 200};
    QTest::newRow("left and top edges unchecked")
        << WindowBounds{-50, -20, 300, 200} << area << WindowBounds{-50, -20, 300, 200};
    // Edges are coordinates: a work area beside a task bar is bounded at x + width, not at its width.
    const QRect offset(100, 30, 1000, 738);
    QTest::newRow("offset: right edge") << WindowBounds{900, 10, 300, 200} << offset << WindowBounds{800, 10, 300, 200};
    QTest::newRow("offset: wider") << WindowBounds{900, 10, 1150, 200} << offset << WindowBounds{0, 10, 1100, 200};
    QTest::newRow("offset: bottom edge") << WindowBounds{10, 700, 300, 200} << offset
                                         << WindowBounds{10, 568, 300, 200};
}

void TestWindowPlacement::fit()
{
    QFETCH(WindowBounds, stored);
    QFETCH(QRect, workArea);
    QFETCH(WindowBounds, expected);
    QCOMPARE(FitToWorkArea(stored, workArea), expected);
}

void TestWindowPlacement::loadBounds_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<WindowBounds>("expected");
    QTest::newRow("missing: 10, 10 and design size") << QByteArray() << WindowBounds{10, 10, 640, 480};
    QTest::newRow("stored") << QByteArray("[frm_Szerkeszt]\nLeft=30\nTop=40\nWidth=500\nHeight=300\n")
                            << WindowBounds{30, 40, 500, 300};
    QTest::newRow("unreadable size") << QByteArray("[FRM_SZERKESZT]\nleft=0\ntop=2\nWidth=wide\nHeight=\n")
                                     << WindowBounds{0, 2, 640, 480};
    QTest::newRow("stored wider than the work area")
        << QByteArray("[frm_Szerkeszt]\nLeft=200\nTop=5\nWidth=2000\nHeight=300\n") << WindowBounds{0, 5, 1024, 300};
}

void TestWindowPlacement::loadBounds()
{
    QFETCH(QByteArray, ini);
    QFETCH(WindowBounds, expected);
    QBuffer buffer(&ini);
    IniFile file;
    QVERIFY(file.read(buffer));
    QCOMPARE(LoadWindowBounds(file, QStringLiteral("frm_Szerkeszt"), QSize(640, 480), QRect(0, 0, 1024, 738)),
             expected);
}

void TestWindowPlacement::widgets()
{
    const QString list = QStringLiteral("frm_Ugyfel"), dialog = QStringLiteral("frm_Beallit");
    // The screen's own work area: the window fits inside it 160 pixels from its right edge.
    const QRect area = WorkArea();
    const int left = area.right() + 1 - 480;
    IniFile ini;
    QWidget window;
    window.move(left, 120);
    window.resize(320, 250);
    StoreWindowBounds(&window, ini, list);
    StoreWindowPos(&window, ini, dialog);
    QCOMPARE(ini.sectionKeys(list), QStringList({QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                                                 QStringLiteral("Height")}));
    QCOMPARE(LoadWindowPos(ini, dialog), QPoint(left, 120));
    QCOMPARE(LoadWindowPos(ini, QStringLiteral("frm_Uj")), QPoint(10, 10));

    QWidget again;
    RestoreWindowBounds(&again, ini, list);
    QCOMPARE(again.geometry(), QRect(left, 120, 320, 250));
    SaveWindowBounds(ini, list, {left + 320, 120, 320, 250});
    RestoreWindowBounds(&again, ini, list);
    QCOMPARE(again.geometry(), QRect(left + 160, 120, 320, 250));

    // Dialogs are not fitted, but one remembered on a screen that is gone must not open out of sight.
    const QPoint corner(area.right() - 10, area.bottom() - 10);
    SaveWindowPos(ini, dialog, corner);
    RestoreWindowPos(&again, ini, dialog);
    QCOMPARE(again.pos(), corner);
    SaveWindowPos(ini, dialog, QPoint(area.right() + 700, area.bottom() + 300));
    RestoreWindowPos(&again, ini, dialog);
    QCOMPARE(again.pos(), QPoint(0, 0));
}

QTEST_MAIN(TestWindowPlacement)
#include "test_windowplacement.moc"

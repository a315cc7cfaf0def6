#include "gridhighlight.h"
#include "uicolours.h"

#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

class TestGridHighlight : public QObject
{
    Q_OBJECT

private slots:
    void paintsHighlightedColumn();
    void byFieldName();
};

// The colour in the empty right end of a cell.
static QColor CellColour(QTableView &view, int row, int column)
{
    const QImage image = view.viewport()->grab().toImage();
    const QRect cell = view.visualRect(view.model()->index(row, column));
    return image.pixelColor(cell.right() - 3, cell.center().y());
}

void TestGridHighlight::paintsHighlightedColumn()
{
    QStandardItemModel model(3, 3);
    model.setHorizontalHeaderLabels({QStringLiteral("Dátum"), QStringLiteral("Összeg"), QStringLiteral("Név")});
    model.setData(model.index(2, 1), QColor(Qt::red), Qt::BackgroundRole);
    QTableView view;
    view.setModel(&model);
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QColor window = view.palette().color(QPalette::Base);
    // Row 0 may be hovered or current; row 1 shows the plain colours.

    HighlightColumn(&view, QStringLiteral("összeg"));
    QCOMPARE(CellColour(view, 1, 1), HighlightColor());
    QCOMPARE(CellColour(view, 1, 0), window);
    QCOMPARE(CellColour(view, 1, 2), window);
    // A colour the model gives wins.
    QCOMPARE(CellColour(view, 2, 1), QColor(Qt::red));

    HighlightColumn(&view, 2);
    QCOMPARE(CellColour(view, 1, 1), window);
    QCOMPARE(CellColour(view, 1, 2), HighlightColor());

    HighlightColumn(&view, -1);
    QCOMPARE(CellColour(view, 1, 2), window);
    QVERIFY(!GridColumnBackground(&view, 2).isValid());
}

void TestGridHighlight::byFieldName()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("grid"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(db.open());
    {
        QSqlQueryModel model;
        model.setQuery(QStringLiteral("select 1 as datum, 2 as osszeg"), db);
        model.setHeaderData(1, Qt::Horizontal, QStringLiteral("Összeg"));
        QTableView view;
        view.setModel(&model);
        HighlightColumn(&view, QStringLiteral("OSSZEG"));
        QCOMPARE(GridColumnBackground(&view, 1), HighlightColor());
        QVERIFY(!GridColumnBackground(&view, 0).isValid());
        // Header captions are not field names.
        HighlightColumn(&view, QStringLiteral("Összeg"));
        QVERIFY(!GridColumnBackground(&view, 1).isValid());
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("grid"));
}

QTEST_MAIN(TestGridHighlight)
#include "test_gridhighlight.moc"

#include "engineerror.h"
#include "sqlscript.h"

#include <QtTest>

class TestSqlScript : public QObject
{
    Q_OBJECT

private slots:
    void splitsAtStatementEndsOnly_data();
    void splitsAtStatementEndsOnly();
    void splitsServerStatements_data();
    void splitsServerStatements();
    void blankText_data();
    void blankText();
    void queryText_data();
    void queryText();
    void queryStatement_data();
    void queryStatement();
    void queryStatementRefusesTwoStatements();
};

void TestSqlScript::splitsAtStatementEndsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("rest");

    QTest::newRow("one statement") << "UPDATE ugyfel SET irsz='1234';" << QStringList{"UPDATE ugyfel SET irsz='1234';"}
                                   << "";
    QTest::newRow("two, the line break goes with the second")
        << "UPDATE a SET x=1;\nUPDATE b SET y=2;" << QStringList{"UPDATE a SET x=1;", "\nUPDATE b SET y=2;"} << "";
    QTest::newRow("semicolon in a literal")
        << "UPDATE ugyfel SET megjegyzes='a;b';" << QStringList{"UPDATE ugyfel SET megjegyzes='a;b';"} << "";
    QTest::newRow("doubled quotes around a semicolon")
        << "UPDATE u SET m='it''s; ok'';';UPDATE v SET n=1;"
        << QStringList{"UPDATE u SET m='it''s; ok'';';", "UPDATE v SET n=1;"} << "";
    QTest::newRow("quoted identifiers") << "SELECT \"a;b\", [c;d], `e;f` FROM t;"
                                        << QStringList{"SELECT \"a;b\", [c;d], `e;f` FROM t;"} << "";
    QTest::newRow("line comment with semicolons")
        << "UPDATE a SET x=1; -- first; second\nUPDATE b -- not yet;\nSET y=2;"
        << QStringList{"UPDATE a SET x=1;", " -- first; second\nUPDATE b -- not yet;\nSET y=2;"} << "";
    QTest::newRow("block comment with a semicolon")
        << "UPDATE a /* x=0; */ SET x=1;\n/* ; */" << QStringList{"UPDATE a /* x=0; */ SET x=1;"} << "\n/* ; */";
    QTest::newRow("trailing text without a semicolon")
        << "UPDATE a SET x=1;\nUPDATE b SET y=2" << QStringList{"UPDATE a SET x=1;"} << "\nUPDATE b SET y=2";
    QTest::newRow("no semicolon at all") << "UPDATE a SET x=1" << QStringList{} << "UPDATE a SET x=1";
    QTest::newRow("unfinished literal swallows the rest")
        << "UPDATE a SET x=1; UPDATE b SET y='a;b; c;" << QStringList{"UPDATE a SET x=1;"}
        << " UPDATE b SET y='a;b; c;";
    QTest::newRow("empty statements are left out")
        << ";; UPDATE a SET x=1;;\n-- only a note\n; /* nothing */ ;" << QStringList{" UPDATE a SET x=1;"} << "";
    QTest::newRow("trigger body keeps its semicolons")
        << "CREATE TRIGGER t AFTER INSERT ON a BEGIN UPDATE b SET y=1; UPDATE c SET z=1; END; DELETE FROM a;"
        << QStringList{"CREATE TRIGGER t AFTER INSERT ON a BEGIN UPDATE b SET y=1; UPDATE c SET z=1; END;",
                       " DELETE FROM a;"}
        << "";
    QTest::newRow("accented text comes back whole")
        << "UPDATE ugyfel SET ugyfel_nev='Árvíztűrő; tükörfúrógép'; UPDATE ugyfel SET varos='Győr';"
        << QStringList{"UPDATE ugyfel SET ugyfel_nev='Árvíztűrő; tükörfúrógép';", " UPDATE ugyfel SET varos='Győr';"}
        << "";
    QTest::newRow("a selection cut inside a statement")
        << "x=1; UPDATE b SET y=2; UPDATE c" << QStringList{"x=1;", " UPDATE b SET y=2;"} << " UPDATE c";
    QTest::newRow("empty text") << "" << QStringList{} << "";
}

void TestSqlScript::splitsAtStatementEndsOnly()
{
    QFETCH(QString, text);
    QFETCH(QStringList, statements);
    QFETCH(QString, rest);
    const SqlScript script = SplitSqlScript(text);
    QCOMPARE(script.statements, statements);
    QCOMPARE(script.rest, rest);
}

// The server's statements: its function bodies are dollar-quoted, its triggers call a function and have no body.
void TestSqlScript::splitsServerStatements_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("rest");

    const QString function = QStringLiteral("CREATE FUNCTION f() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                                            "BEGIN NEW.x := 'a;b'; RETURN NEW; END $$;");
    QTest::newRow("function body keeps its semicolons")
        << function + QStringLiteral("\nSELECT 1;") << QStringList{function, "\nSELECT 1;"} << "";
    QTest::newRow("tagged body holding a bare dollar quote")
        << "DO $body$ BEGIN PERFORM '$$;'; END $body$; DELETE FROM a;"
        << QStringList{"DO $body$ BEGIN PERFORM '$$;'; END $body$;", " DELETE FROM a;"} << "";
    QTest::newRow("a trigger ends at its semicolon")
        << "CREATE TRIGGER t AFTER INSERT ON a FOR EACH ROW EXECUTE FUNCTION f(); UPDATE b SET y=1;"
        << QStringList{"CREATE TRIGGER t AFTER INSERT ON a FOR EACH ROW EXECUTE FUNCTION f();", " UPDATE b SET y=1;"}
        << "";
    QTest::newRow("literals, names and comments")
        << "UPDATE u SET m='it''s; ok' /* ; */, \"a;b\"=1; -- x;\nSELECT 2;"
        << QStringList{"UPDATE u SET m='it''s; ok' /* ; */, \"a;b\"=1;", " -- x;\nSELECT 2;"} << "";
    QTest::newRow("parameters and names with a dollar are no quotes")
        << "SELECT $1, a$b$ FROM t; SELECT 2;" << QStringList{"SELECT $1, a$b$ FROM t;", " SELECT 2;"} << "";
    QTest::newRow("unfinished body swallows the rest")
        << "SELECT 1; DO $$ BEGIN x; END; SELECT 2;" << QStringList{"SELECT 1;"} << " DO $$ BEGIN x; END; SELECT 2;";
}

void TestSqlScript::splitsServerStatements()
{
    QFETCH(QString, text);
    QFETCH(QStringList, statements);
    QFETCH(QString, rest);
    const SqlScript script = SplitSqlScript(text, SqlDialect::Server);
    QCOMPARE(script.statements, statements);
    QCOMPARE(script.rest, rest);
}

void TestSqlScript::blankText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blanks and line breaks") << " \t\r\n " << true;
    QTest::newRow("comments") << "-- a\n /* b */\n-- c" << true;
    QTest::newRow("unfinished block comment") << "/* a" << true;
    QTest::newRow("a word after a comment") << "/* a */ x" << false;
    QTest::newRow("a lone minus") << "-" << false;
}

void TestSqlScript::blankText()
{
    QFETCH(QString, text);
    QFETCH(bool, blank);
    QCOMPARE(IsBlankSql(text), blank);
}

void TestSqlScript::queryText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("query");
    QTest::newRow("lower case after blank lines") << "\n\n   select * from ugyfel" << true;
    QTest::newRow("mixed case") << "SeLeCt 1;" << true;
    QTest::newRow("after a comment") << "-- ügyfelek\nSELECT * FROM ugyfel" << false;
    QTest::newRow("update") << "UPDATE ugyfel SET irsz=NULL;" << false;
    QTest::newRow("empty") << "" << false;
}

void TestSqlScript::queryText()
{
    QFETCH(QString, text);
    QFETCH(bool, query);
    QCOMPARE(IsQueryText(text), query);
}

void TestSqlScript::queryStatement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statement");
    QTest::newRow("closing semicolon") << "SELECT 1;"
                                       << "SELECT 1";
    QTest::newRow("comment after the semicolon") << "  SELECT ';' ; -- vége\n"
                                                 << "SELECT ';' ";
    QTest::newRow("no semicolon, line comment kept") << "SELECT 1 -- egy\n"
                                                     << "SELECT 1 -- egy";
}

void TestSqlScript::queryStatement()
{
    QFETCH(QString, text);
    QFETCH(QString, statement);
    QCOMPARE(QueryStatement(text), statement);
}

void TestSqlScript::queryStatementRefusesTwoStatements()
{
    for (const char *text : {"SELECT 1; SELECT 2;", "SELECT 1; SELECT 2"}) {
        try {
            QueryStatement(QString::fromUtf8(text));
            QFAIL(text);
        } catch (const EngineError &e) {
            QVERIFY(e.message().contains(QStringLiteral("több utasítást")));
        }
    }
}

QTEST_GUILESS_MAIN(TestSqlScript)
#include "test_sqlscript.moc"

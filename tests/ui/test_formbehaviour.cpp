#include "formbehaviour.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestFormBehaviour : public QObject
{
    Q_OBJECT

private slots:
    void enterMovesToTheNextEnabledControl();
    void fontSizeReachesChildren();
};

void TestFormBehaviour::enterMovesToTheNextEnabledControl()
{
    QDialog form;
    auto *layout = new QVBoxLayout(&form);
    auto *first = new QLineEdit(&form);
    auto *disabled = new QLineEdit(&form);
    auto *check = new QCheckBox(QStringLiteral("Kész"), &form);
    auto *ok = new QPushButton(QStringLiteral("OK"), &form);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);
    disabled->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(first), static_cast<QWidget *>(disabled), static_cast<QWidget *>(check),
                       static_cast<QWidget *>(ok)})
        layout->addWidget(w);
    EnterMovesFocus(&form);
    QSignalSpy accepted(&form, &QDialog::accepted);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), check);
    QCOMPARE(accepted.count(), 0);
    QTest::keyClick(check, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
}

void TestFormBehaviour::fontSizeReachesChildren()
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    ApplyFontSize(&window, 10);
    QCOMPARE(edit->font().pointSize(), 10);
    ApplyFontSize(&window, 0);
    QCOMPARE(edit->font().pointSize(), 10);
}

QTEST_MAIN(TestFormBehaviour)
#include "test_formbehaviour.moc"

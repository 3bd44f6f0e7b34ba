#include "window/QtPrompts.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QtTest>

using namespace albivex;

// The question for a protected album's answer: asked without blocking, the typing
// hidden for a password, nullopt when cancelled.
class TestTextPrompt : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answeredThroughTheEventLoop_data()
    {
        QTest::addColumn<bool>("secret");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("typed");
        QTest::newRow("answer") << false << true << QStringLiteral("实验小学");
        QTest::newRow("password, hidden") << true << true << QStringLiteral("abc123");
        QTest::newRow("cancelled") << false << false << QStringLiteral("typed then cancelled");
    }
    void answeredThroughTheEventLoop()
    {
        QFETCH(bool, secret);
        QFETCH(bool, accept);
        QFETCH(QString, typed);
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QtPrompts prompts(&window);
        int calls = 0;
        std::optional<QString> answer;
        prompts.askText(QStringLiteral("问答相册"), QStringLiteral("我的小学叫什么"), secret,
                        [&](std::optional<QString> text) {
                            ++calls;
                            answer = std::move(text);
                        });
        QCOMPARE(calls, 0); // back at once: the box waits on the event loop
        auto *dialog = window.findChild<QInputDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("问答相册"));
        QCOMPARE(dialog->labelText(), QStringLiteral("我的小学叫什么"));
        QCOMPARE(dialog->textEchoMode(), secret ? QLineEdit::Password : QLineEdit::Normal);
        dialog->setTextValue(typed);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
        QTRY_COMPARE(calls, 1);
        QCOMPARE(answer, accept ? std::optional<QString>(typed) : std::nullopt);
        QTRY_VERIFY(!window.findChild<QInputDialog *>()); // the box is gone
    }
};

QTEST_MAIN(TestTextPrompt)
#include "TestTextPrompt.moc"

#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

// The embedded browser starts, renders a page and answers script: the smallest use
// of it that every sign-in test depends on. Run in every build so that a build
// configuration in which the browser cannot start shows up as this one failure.
class TestBrowserProbe : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pageLoadsAndRunsScript()
    {
        QWebEngineView view;
        view.resize(320, 240);
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.setHtml(QStringLiteral("<html><head><title>probe</title></head><body>x</body></html>"));
        QVERIFY(loaded.wait(60000));
        QCOMPARE(loaded.first().first().toBool(), true);

        QVariant answer;
        view.page()->runJavaScript(QStringLiteral("document.title + ':' + (6 * 7)"),
                                   [&answer](const QVariant &result) { answer = result; });
        QTRY_COMPARE_WITH_TIMEOUT(answer.toString(), QStringLiteral("probe:42"), 30000);
    }
};

QTEST_MAIN(TestBrowserProbe)
#include "TestBrowserProbe.moc"

#include "shell/VersionCheck.h"

#include <QtTest>

using namespace albivex;

class TestVersionCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("current");
        QTest::newRow("exactly the entry")
            << QStringLiteral("morvith:V1.0|") << QStringLiteral("V1.0") << true;
        QTest::newRow("among other products")
            << QStringLiteral("other:V3.2|\r\nmorvith:V1.0|\r\nthird:V9|") << QStringLiteral("V1.0") << true;
        QTest::newRow("newer version") << QStringLiteral("morvith:V1.1|") << QStringLiteral("V1.1") << false;
        QTest::newRow("lower-case v") << QStringLiteral("morvith:v1.0|") << QStringLiteral("v1.0") << false;
        QTest::newRow("blank counts") << QStringLiteral("morvith: V1.0|") << QStringLiteral(" V1.0") << false;
        QTest::newRow("key without bar") << QStringLiteral("morvith:V1.0") << QString() << false;
        QTest::newRow("bar only before the key") << QStringLiteral("a|morvith:V1.0") << QString() << false;
        QTest::newRow("first key wins")
            << QStringLiteral("morvith:V0.9|morvith:V1.0|") << QStringLiteral("V0.9") << false;
        QTest::newRow("error page") << QStringLiteral("<html>404</html>") << QString() << false;
        QTest::newRow("empty") << QString() << QString() << false;
    }
    void listed()
    {
        QFETCH(QString, file);
        QFETCH(QString, listed);
        QFETCH(bool, current);
        QCOMPARE(ListedVersion(file), listed);
        QCOMPARE(IsCurrentVersion(ListedVersion(file)), current);
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "TestVersionCheck.moc"

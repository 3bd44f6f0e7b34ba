#include "qzone/PictureAddress.h"

#include <QtTest>

using namespace albivex;

// Which picture addresses are asked over https, and which plain address stays behind
// for a failed https connection.
class TestPictureAddress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void upgradesQqPictureHosts_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("redirected");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("fallback");
        const QString none;
        QTest::newRow("qq.com") << "http://qq.com/p.jpg" << false << "https://qq.com/p.jpg"
                                << "http://qq.com/p.jpg";
        QTest::newRow("photo.qq.com, query kept") << "http://photo.qq.com/psb?/V1/b/x.jpg&t=5" << false
                                                  << "https://photo.qq.com/psb?/V1/b/x.jpg&t=5"
                                                  << "http://photo.qq.com/psb?/V1/b/x.jpg&t=5";
        QTest::newRow("a.qpic.cn, upper case, blanks")
            << " HTTP://A.QPIC.CN/psc?/x/b.jpg " << false << "https://a.qpic.cn/psc?/x/b.jpg"
            << "http://a.qpic.cn/psc?/x/b.jpg";
        QTest::newRow("port 80 dropped")
            << "http://b1.photo.qq.com:80/x.jpg" << false << "https://b1.photo.qq.com/x.jpg"
            << "http://b1.photo.qq.com:80/x.jpg";
        QTest::newRow("other port kept")
            << "http://qq.com:8080/x.jpg" << false << "http://qq.com:8080/x.jpg" << none;
        QTest::newRow("qpic.cn.evil.com")
            << "http://qpic.cn.evil.com/x.jpg" << false << "http://qpic.cn.evil.com/x.jpg" << none;
        QTest::newRow("notqq.com") << "http://notqq.com/x.jpg" << false << "http://notqq.com/x.jpg" << none;
        QTest::newRow("https already")
            << "https://a.qpic.cn/x.jpg" << false << "https://a.qpic.cn/x.jpg" << none;
        QTest::newRow("ftp") << "ftp://qq.com/x.jpg" << false << "ftp://qq.com/x.jpg" << none;
        QTest::newRow("file") << "file:///qq.com/x.jpg" << false << "file:///qq.com/x.jpg" << none;
        QTest::newRow("redirected: the root's scheme")
            << "http://a.qpic.cn/x.jpg" << true << "http://a.qpic.cn/x.jpg" << none;
        QTest::newRow("loopback") << "http://127.0.0.1:8123/photo/b/x.jpg" << false
                                  << "http://127.0.0.1:8123/photo/b/x.jpg" << none;
        QTest::newRow("empty") << "" << false << "" << none;
    }
    void upgradesQqPictureHosts()
    {
        QFETCH(QString, address);
        QFETCH(bool, redirected);
        QFETCH(QString, url);
        QFETCH(QString, fallback);
        const PictureAddress where = SecurePictureAddress(address, redirected);
        QCOMPARE(where.url.toString(), url);
        QCOMPARE(where.plainFallback.toString(), fallback);
    }
};

QTEST_APPLESS_MAIN(TestPictureAddress)
#include "TestPictureAddress.moc"

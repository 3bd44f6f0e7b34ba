// One album's pictures walked without the window: a recording view shows exactly what
// the job reports and in which order, for pictures the stand-in cannot describe (a
// listing whose keys ran out).

#include "albumdl/AlbumJobView.h"
#include "albumdl/AlbumWalk.h"
#include "catalogue/AlbumListModel.h"
#include "session/WindowState.h"
#include "standin/StandinThread.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;

namespace {

class RecordingView : public AlbumJobView
{
public:
    QString folder;
    NamingMode naming = NamingMode::SequenceAndName;
    QStringList calls;

    int selectedAlbumRow() const override { return 0; }
    QString saveFolder() const override { return folder; }
    NamingMode namingMode() const override { return naming; }
    PictureQuality quality() const override { return PictureQuality::High; }
    bool onlyNew() const override { return false; }
    void setStatusText(const QString &text) override { calls << QStringLiteral("status ") + text; }
    void addLogLines(const QStringList &messages) override
    {
        calls << QStringLiteral("log ") + messages.join('|');
    }
    void setJobControlsEnabled(bool) override { }
    void setAlbumListEnabled(bool) override { }
    void setProgressRange(int minimum, int maximum) override
    {
        calls << QStringLiteral("range %1-%2").arg(minimum).arg(maximum);
    }
    void setProgressValue(int value) override { calls << QStringLiteral("value %1").arg(value); }
};

} // namespace

class TestAlbumWalk : public QObject
{
    Q_OBJECT

    standin::StandinThread m_standin;

    PhotoEntry picture(int number, const QString &name, const QString &path) const
    {
        PhotoEntry entry;
        entry.number = number;
        entry.name = name;
        entry.url = path.isEmpty() ? QString() : m_standin.root() + path;
        return entry;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    // Picture 2 came without an address (its keys ran out in the answer): it is neither
    // fetched nor saved under any name, it is reported as failed in its place, and the
    // pictures around it are saved under their own names.
    void pictureWithoutAddress()
    {
        QTemporaryDir save;
        QNetworkAccessManager nam;
        WindowState state;
        state.albumJobRunning = true;
        state.listedOwnerUin = QStringLiteral("42");
        AlbumListModel albums;
        AlbumEntry album;
        album.name = QStringLiteral("册");
        album.pictureCount = QStringLiteral("3");
        albums.append(album);
        RecordingView view;
        view.folder = save.path();
        // Picture 1 arrives last, so that the missing picture is ready long before it.
        m_standin.knobs().addFault(
            standin::FaultRule::latency(QStringLiteral("/photo/b/V1three/1.jpg"), 300));
        m_standin.knobs().clearRequests();

        AlbumWalk walk(nam, state, albums, view, 0,
                       {picture(1, QStringLiteral("a"), QStringLiteral("/photo/b/V1three/1.jpg")),
                        picture(2, QStringLiteral("b"), QString()),
                        picture(3, QStringLiteral("c"), QStringLiteral("/photo/b/V1three/3.jpg"))},
                       {}, nullptr);
        QSignalSpy finished(&walk, &AlbumWalk::finished);
        walk.start();
        QVERIFY(finished.wait(10000));

        // All three become reportable together when picture 1 arrives: they are shown
        // in list order, and their lines go to the log as one addition.
        QCOMPARE(view.calls,
                 QStringList({"range 1-3", "status 正在下载相册[册]（33%）", "value 1",
                              "status 正在下载相册[册]（67%）", "value 2", "status 正在下载相册[册]（100%）",
                              "value 3", "log [a]下载完毕..|[b]下载失败..|[c]下载完毕.."}));
        QCOMPARE(albums.entry(0).downloadState, QStringLiteral("3/3(100%)"));
        QCOMPARE(walk.tally().saved, 2);
        QCOMPARE(walk.tally().failed, 1);
        QCOMPARE(m_standin.knobs().requests().size(), 2);
        QCOMPARE(QDir(save.path() + QStringLiteral("/42/册")).entryList(QDir::Files, QDir::Name),
                 QStringList({"1.a.jpg", "3.c.jpg"}));
    }
};

QTEST_MAIN(TestAlbumWalk)
#include "TestAlbumWalk.moc"

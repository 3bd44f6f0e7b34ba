// File-system trouble end to end, for both download commands: a save folder that turns
// read-only in the middle of an album, a disk that fills up, the same album saved
// twice, and the tool killed in the middle of an album and started again. Whatever
// happens, a file at a picture's final name is the whole picture, every picture that
// was not saved is reported, and no temporary file outlives the next download.

#include "FaultWindow.h"
#include "PrivateMounts.h"
#include "session/WindowState.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/AlbumRecord.h"
#include "storage/RunJournal.h"
#include "storage/StaleTemporaryFiles.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace albivex;
namespace sd = albivex::standin;
using sd::FaultRule;

Q_DECLARE_METATYPE(DownloadCommand)

namespace {

// An album of `count` pictures of `bytes` bytes each, named IMG_00001...
struct TestAlbum
{
    QString name;
    int count = 0;
    qint64 bytes = 0;
    QString id;
};

QString extraPictureName(int n)
{
    return QStringLiteral("IMG_%1").arg(n, 5, 10, QLatin1Char('0'));
}

QStringList pictureNames(const QList<int> &numbers)
{
    QStringList names;
    for (int n : numbers)
        names << extraPictureName(n);
    return names;
}

void addCommandRows()
{
    QTest::addColumn<DownloadCommand>("command");
    for (DownloadCommand command : DownloadCommands)
        QTest::newRow(qPrintable(CommandName(command))) << command;
}

qint64 usedBytes(const QString &folder)
{
    struct statvfs stats = {};
    if (::statvfs(QFile::encodeName(folder).constData(), &stats) != 0)
        return -1;
    return qint64(stats.f_blocks - stats.f_bfree) * qint64(stats.f_frsize);
}

} // namespace

class TestFolderFaults : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<QTemporaryDir> m_save;
    std::unique_ptr<FaultWindow> m_window;
    QStringList m_mounted; // undone in cleanup, whatever happened
    TestAlbum m_readOnly {QStringLiteral("只读相册"), 8, 120 * 1024, {}};
    TestAlbum m_diskFull {QStringLiteral("满盘相册"), 8, 300 * 1024, {}};
    TestAlbum m_killed {QStringLiteral("中断相册"), 16, 200 * 1024, {}};
    // A run of three albums killed and taken up again.
    QList<TestAlbum> m_run {{QStringLiteral("续传甲"), 10, 150 * 1024, {}},
                            {QStringLiteral("续传乙"), 10, 150 * 1024, {}},
                            {QStringLiteral("续传丙"), 6, 150 * 1024, {}}};

    QString albumFolder(const TestAlbum &album) const { return MainAlbumFolder(m_save->path(), album.name); }

    void openWindow()
    {
        m_window = std::make_unique<FaultWindow>(m_standin.root());
        QVERIFY(m_window->signInAndList(sd::MainUin));
        m_window->window().saveFolderEdit->setText(m_save->path());
        PictureTransfer::Options &options = m_window->transferOptions();
        options.idleMs = 1500;
        options.retryPauseMs = 30;
    }

    // The files of the album's folder after a run: each a whole picture at its final
    // name, nothing else; the numbers of the pictures saved.
    QList<int> savedPictures(const TestAlbum &album)
    {
        static const QRegularExpression finalName(QStringLiteral("^(\\d+)\\.IMG_(\\d{5})\\.jpg$"));
        QList<int> saved;
        for (const QString &file : FilesIn(albumFolder(album))) {
            const QRegularExpressionMatch match = finalName.match(file);
            if (!match.hasMatch() || match.captured(1).toInt() != match.captured(2).toInt()) {
                qWarning("not a picture's final name: %s", qPrintable(file));
                return {-1};
            }
            const int n = match.captured(1).toInt();
            const QByteArray bytes = ContentOf(albumFolder(album) + QLatin1Char('/') + file);
            if (bytes != m_standin.pictureBytes(PicturePath(album.id, n))) {
                qWarning("%s holds %lld bytes, not the whole picture", qPrintable(file),
                         static_cast<long long>(bytes.size()));
                return {-1};
            }
            saved << n;
        }
        std::sort(saved.begin(), saved.end());
        return saved;
    }

    // Files, log lines and marks agree: the pictures on disk are those reported saved,
    // every other one is reported failed, in list order.
    void checkRun(DownloadCommand command, const TestAlbum &album, const QList<int> &saved)
    {
        QList<int> failed;
        for (int n = 1; n <= album.count; ++n) {
            if (!saved.contains(n))
                failed << n;
        }
        const DownloadReport report = m_window->report();
        QCOMPARE(report.saved, pictureNames(saved));
        QCOMPARE(report.failed, pictureNames(failed));
        const QStringList marks = m_window->marks(command, album.id);
        if (command == DownloadCommand::SelectedPictures) {
            QStringList expected;
            for (int n = 1; n <= album.count; ++n)
                expected << (saved.contains(n) ? QStringLiteral("√") : QStringLiteral("×"));
            QCOMPARE(marks, expected);
        } else {
            QCOMPARE(marks,
                     QStringList {failed.isEmpty() ? QStringLiteral("√")
                                                   : QStringLiteral("失败%1张").arg(failed.size())});
            QCOMPARE(report.otherLines.last(),
                     QStringLiteral("共保存%1张，失败%2张").arg(saved.size()).arg(failed.size()));
        }
    }

    // The fault driver: the tool in a process of its own.
    QProcess *startDriver(DownloadCommand command, const TestAlbum &album, QObject *parent,
                          const QStringList &more = {})
    {
        auto *driver = new QProcess(parent);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ALBIVEX_SERVICE_ROOT"), m_standin.root());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        driver->setProcessEnvironment(environment);
        driver->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList arguments {QStringLiteral("--album"),
                                     album.id,
                                     QStringLiteral("--save"),
                                     m_save->path(),
                                     QStringLiteral("--command"),
                                     command == DownloadCommand::Album ? QStringLiteral("album")
                                                                       : QStringLiteral("selected"),
                                     QStringLiteral("--idle-ms"),
                                     QString::number(DriverIdleMs)};
        driver->start(QStringLiteral(ALBIVEX_FAULT_DRIVER), arguments + more);
        return driver;
    }
    static constexpr int DriverIdleMs = 1000;

    // The stand-in logs a request when its thread reads it, and what a killed driver
    // sent just before it died may still wait unread in its connections, to be logged
    // late. A request sent now is read no earlier than those (each wake-up of the
    // stand-in's loop reads every connection with something to read, and its answer
    // leaves on a later one), so once it is answered the log holds all the driver asked.
    bool standinHasReadEverything()
    {
        QNetworkAccessManager network;
        std::unique_ptr<QNetworkReply> reply(
            network.get(QNetworkRequest(QUrl(m_standin.root() + QStringLiteral("/")))));
        return RunEventsUntil([&] { return reply->isFinished(); }, 10000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<DownloadCommand>();
        QVERIFY(m_standin.start());
        for (TestAlbum *album : {&m_readOnly, &m_diskFull, &m_killed, &m_run[0], &m_run[1], &m_run[2]}) {
            sd::ExtraAlbum extra;
            extra.name = album->name;
            extra.pictureCount = album->count;
            extra.pictureBytes = album->bytes;
            album->id = m_standin.knobs().addExtraAlbum(extra);
        }
    }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_save = std::make_unique<QTemporaryDir>();
        QVERIFY(m_save->isValid());
    }

    void cleanup()
    {
        m_window.reset();
        while (!m_mounted.isEmpty())
            Unmount(m_mounted.takeLast());
        m_save.reset();
    }

    void aFolderThatTurnsReadOnlyMidAlbum_data() { addCommandRows(); }
    void aFolderThatTurnsReadOnlyMidAlbum()
    {
        QFETCH(DownloadCommand, command);
        // Root writes through permission bits: for root a read-only mount does it.
        const bool root = ::geteuid() == 0;
        if (root && !PrivateMountsUnavailable().isEmpty())
            QSKIP(qPrintable(QStringLiteral("root ignores permissions and may not mount here: ")
                             + PrivateMountsUnavailable()));
        // Pictures 5 to 8 come late, so that the folder turns read-only while they are on
        // their way however quickly the first four are written.
        for (int n = 5; n <= m_readOnly.count; ++n)
            m_standin.knobs().addFault(FaultRule::latency(PicturePath(m_readOnly.id, n), 1500));
        openWindow();
        // Once three pictures are reported saved, the save folder and everything in it
        // refuse every change (without root: the album folder's permissions do).
        bool switched = false;
        QString error = QStringLiteral("never switched");
        const QString folder = albumFolder(m_readOnly);
        const auto makeReadOnly = [&] {
            if (!root)
                return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (!MakeReadOnly(m_save->path(), &error))
                return false;
            m_mounted << m_save->path();
            return true;
        };
        connect(m_window->window().activityLogList->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (!switched && m_window->report().saved.size() == 3)
                switched = makeReadOnly();
        });
        QVERIFY(m_window->download(command, m_readOnly.id));
        QVERIFY2(switched, qPrintable(error));
        QVERIFY2(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly),
                 "the folder is writable");
        if (root)
            QVERIFY(Unmount(m_mounted.takeLast()));
        else
            QVERIFY(QFile::setPermissions(
                folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

        const QList<int> saved = savedPictures(m_readOnly);
        QVERIFY(!saved.contains(-1));
        QVERIFY2(saved.size() >= 3 && saved.size() < m_readOnly.count,
                 qPrintable(QString::number(saved.size())));
        qInfo("%d of %d pictures saved before the folder turned read-only", int(saved.size()),
              m_readOnly.count);
        if (command == DownloadCommand::SelectedPictures) // one picture at a time
            QCOMPARE(saved, QList<int>({1, 2, 3}));
        checkRun(command, m_readOnly, saved);
    }

    void aDiskThatFillsUp_data() { addCommandRows(); }
    void aDiskThatFillsUp()
    {
        QFETCH(DownloadCommand, command);
        if (!PrivateMountsUnavailable().isEmpty())
            QSKIP(
                qPrintable(QStringLiteral("cannot mount a small disk here: ") + PrivateMountsUnavailable()));
        // Room for three of the eight pictures of 300 KB.
        const qint64 size = 1024 * 1024;
        QString error;
        QVERIFY2(MountTmpfs(m_save->path(), size, &error), qPrintable(error));
        m_mounted << m_save->path();
        openWindow();
        QVERIFY(m_window->download(command, m_diskFull.id));

        const QList<int> saved = savedPictures(m_diskFull);
        QVERIFY(!saved.contains(-1));
        QVERIFY2(!saved.isEmpty() && saved.size() < m_diskFull.count,
                 qPrintable(QString::number(saved.size())));
        qInfo("%d of %d pictures fitted", int(saved.size()), m_diskFull.count);
        checkRun(command, m_diskFull, saved);
        // Nothing half-written is kept anywhere, not even without a name: the disk
        // holds the saved pictures and little else.
        const qint64 pictures = saved.size() * m_diskFull.bytes;
        const qint64 used = usedBytes(m_save->path());
        QVERIFY2(
            used >= pictures && used <= pictures + 64 * 1024,
            qPrintable(QStringLiteral("%1 bytes used for %2 bytes of pictures").arg(used).arg(pictures)));
    }

    void theSameAlbumTwiceGivesTheSameFiles_data() { addCommandRows(); }
    void theSameAlbumTwiceGivesTheSameFiles()
    {
        QFETCH(DownloadCommand, command);
        openWindow();
        QVERIFY(m_window->window().sequenceNamingButton->isChecked()); // sequence and name
        const QString album = QString::fromLatin1(sd::SameNameAlbum.id);
        const QString name = QString::fromUtf8(sd::SameNameAlbum.name);
        const int count = sd::SameNameAlbum.pictures;
        QStringList expected;
        for (int n = 1; n <= count; ++n)
            expected << QLatin1String(sd::MainUin) + QLatin1Char('/') + name + QLatin1Char('/')
                    + SequenceName(n, QString::fromLatin1(sd::SameName));
        expected.sort();
        for (int run = 1; run <= 2; ++run) {
            QVERIFY(m_window->download(command, album));
            QCOMPARE(m_window->report().saved.size(), count);
            const QStringList files = AllFilesUnder(m_save->path());
            QVERIFY2(files == expected, qPrintable(files.join(QLatin1Char(' '))));
            for (int n = 1; n <= count; ++n) {
                const QString file = MainAlbumFolder(m_save->path(), name) + QLatin1Char('/')
                    + SequenceName(n, QString::fromLatin1(sd::SameName));
                QVERIFY2(ContentOf(file) == m_standin.pictureBytes(PicturePath(album, n)), qPrintable(file));
            }
        }
        QCOMPARE(m_standin.knobs().requestsTo(PicturePath(album, 10)).size(), 2);
    }

    void killedMidAlbumAndStartedAgain_data() { addCommandRows(); }
    void killedMidAlbumAndStartedAgain()
    {
        QFETCH(DownloadCommand, command);
        const QString folder = albumFolder(m_killed);
        // Slow pictures, so that the kill comes while some are on their way.
        m_standin.knobs().addFault(
            FaultRule::latency(QStringLiteral("/photo/b/") + m_killed.id + QStringLiteral("/*"), 300));
        QProcess *first = startDriver(command, m_killed, this);
        QVERIFY(first->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QDir(folder).entryList(QDir::Files).size() >= 3, 30000);
        first->kill(); // SIGKILL: no clean-up of any kind
        QVERIFY(first->waitForFinished(10000));
        QElapsedTimer sinceKill;
        sinceKill.start();
        QCOMPARE(first->exitStatus(), QProcess::CrashExit);

        const QList<int> before = savedPictures(m_killed);
        QVERIFY2(!before.contains(-1), "a file at a final name is not whole");
        QVERIFY2(before.size() < m_killed.count, "the kill came after the last picture");
        qInfo("killed with %d of %d pictures saved", int(before.size()), m_killed.count);

        // What a killed transfer leaves where the file system has no unnamed temporary
        // files: the final name, a dot and six letters or digits; and a file of the
        // user's that only looks alike.
        const QString stale = folder + QStringLiteral("/11.IMG_00011.jpg.k3Zq9A");
        QFile leftover(stale);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write(m_standin.pictureBytes(PicturePath(m_killed.id, 11)).left(5000));
        QVERIFY(leftover.flush());
        QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                     QFileDevice::FileModificationTime));
        leftover.close();
        const QString usersFile = folder + QStringLiteral("/notes.jpg.backup");
        QFile users(usersFile);
        QVERIFY(users.open(QIODevice::WriteOnly));
        users.write("mine");
        users.close();

        // A temporary file may belong to a live transfer until it is older than twice
        // the idle limit; the killed run's own ones are that old when the next starts.
        QTest::qWait(int(qMax<qint64>(0, 2 * DriverIdleMs + 100 - sinceKill.elapsed())));
        m_standin.knobs().clearFaults();
        QProcess *second = startDriver(command, m_killed, this);
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(second->readAllStandardOutput().contains("driver: downloaded"));

        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(usersFile));
        QVERIFY(QFile::remove(usersFile));
        QList<int> all;
        for (int n = 1; n <= m_killed.count; ++n)
            all << n;
        QCOMPARE(savedPictures(m_killed), all);
        for (const QString &file : AllFilesUnder(m_save->path()))
            QVERIFY2(!IsTransferTemporaryName(QFileInfo(file).fileName()), qPrintable(file));
    }

    // A run of three albums killed at several points (in the middle of an album, as an
    // album's record is written whole at its end), then started again, signed in through
    // the browser and taken up with 是: every picture ends up whole, and the only
    // pictures asked for twice are those the killed run asked for without recording
    // them (on their way, or saved but not recorded yet).
    void aKilledRunIsTakenUpAgain_data()
    {
        QTest::addColumn<int>("album");
        QTest::addColumn<QString>("killWhen");
        QTest::newRow("mid first album") << 0 << QStringLiteral("3 pictures");
        QTest::newRow("as the first album's record is written") << 0 << AlbumRecord::fileName();
        QTest::newRow("mid second album") << 1 << QStringLiteral("3 pictures");
    }
    void aKilledRunIsTakenUpAgain()
    {
        QFETCH(int, album);
        QFETCH(QString, killWhen);
        m_standin.knobs().addFault(FaultRule::latency(QStringLiteral("/photo/b/*"), 250));
        QProcess *first
            = startDriver(DownloadCommand::Album, m_run[0], this,
                          {QStringLiteral("--also"), m_run[1].id + QLatin1Char(',') + m_run[2].id});
        QVERIFY(first->waitForStarted(10000));
        const QString folder = albumFolder(m_run[album]);
        QTRY_VERIFY_WITH_TIMEOUT(killWhen == AlbumRecord::fileName()
                                     ? QFileInfo::exists(folder + QLatin1Char('/') + killWhen)
                                     : FilesIn(folder).size() >= 3,
                                 30000);
        first->kill();
        QVERIFY(first->waitForFinished(10000));
        QElapsedTimer sinceKill;
        sinceKill.start();
        QCOMPARE(first->exitStatus(), QProcess::CrashExit);
        QVERIFY(standinHasReadEverything());

        // What the killed run asked for and what its records hold, picture by picture.
        QList<QList<int>> askedBefore, recorded;
        for (const TestAlbum &each : std::as_const(m_run)) {
            QList<int> asked, inRecord;
            const AlbumRecord record(albumFolder(each));
            QStringList recordedFiles;
            for (const RecordEntry &entry : record.entries())
                recordedFiles << entry.fileName;
            for (int n = 1; n <= each.count; ++n) {
                asked << int(m_standin.knobs().requestsTo(PicturePath(each.id, n)).size());
                inRecord << int(recordedFiles.contains(SequenceName(n, extraPictureName(n))));
            }
            askedBefore << asked;
            recorded << inRecord;
        }
        QVERIFY(LoadRunJournal(m_save->path() + QLatin1Char('/') + QLatin1String(sd::MainUin)));

        QTest::qWait(int(qMax<qint64>(0, 2 * DriverIdleMs + 100 - sinceKill.elapsed())));
        m_standin.knobs().clearFaults();
        QProcess *second = startDriver(DownloadCommand::Album, m_run[0], this,
                                       {QStringLiteral("--resume"), QStringLiteral("--browser")});
        QVERIFY(second->waitForFinished(90000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(second->readAllStandardOutput().contains("driver: downloaded"));

        QVERIFY(!QFileInfo::exists(m_save->path() + QLatin1Char('/') + QLatin1String(sd::MainUin)
                                   + QLatin1Char('/') + RunJournalFileName()));
        int askedAgain = 0;
        for (int a = 0; a < m_run.size(); ++a) {
            const TestAlbum &each = m_run.at(a);
            for (int n = 1; n <= each.count; ++n)
                askedAgain += askedBefore[a][n - 1] > 0 && !recorded[a][n - 1] ? 1 : 0;
            QList<int> all;
            for (int n = 1; n <= each.count; ++n)
                all << n;
            QCOMPARE(savedPictures(each), all);
            for (int n = 1; n <= each.count; ++n) {
                const int before = askedBefore[a][n - 1];
                const int expected = before == 0 ? 1 : before + (recorded[a][n - 1] ? 0 : 1);
                QVERIFY2(m_standin.knobs().requestsTo(PicturePath(each.id, n)).size() == expected,
                         qPrintable(QStringLiteral("%1 %2: asked %3 times, %4 before the kill, %5")
                                        .arg(each.name)
                                        .arg(n)
                                        .arg(m_standin.knobs().requestsTo(PicturePath(each.id, n)).size())
                                        .arg(before)
                                        .arg(recorded[a][n - 1] ? "recorded" : "not recorded")));
            }
        }
        for (const QString &file : AllFilesUnder(m_save->path()))
            QVERIFY2(!IsTransferTemporaryName(QFileInfo(file).fileName()), qPrintable(file));
        qInfo("%d pictures on their way or not recorded at the kill, asked again", askedAgain);
    }

    // The age rule of the clean-up, on its own: files of the temporary form that are
    // old enough go; younger ones (a live transfer's), other names, folders stay.
    void onlyOldTemporaryFilesOfOursAreRemoved()
    {
        const QString dir = m_save->path();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const auto make
            = [&](const QString &name, int ageSeconds, const QByteArray &content = "\xFF\xD8\xFF\xE0") {
                  QFile file(dir + QLatin1Char('/') + name);
                  QVERIFY(file.open(QIODevice::WriteOnly));
                  file.write(content);
                  QVERIFY(file.flush()); // a later write would renew the time
                  QVERIFY(file.setFileTime(now.addSecs(-ageSeconds).toLocalTime(),
                                           QFileDevice::FileModificationTime));
              };
        make(QStringLiteral("1.a.jpg.Ab12Cd"), 120);
        make(QStringLiteral(".jpg.jpg.zzzzzz"), 120);
        make(QStringLiteral("2.b.jpg.Xy34Zw"), 10); // still being written
        make(QStringLiteral("3.c.jpg.Ab12C"), 120); // five characters
        make(QStringLiteral("4.d.jpg.Ab-2Cd"), 120);
        // An original saved by its content's format leaves ".png" names too.
        make(QStringLiteral("5.e.png.Ab12Cd"), 120);
        make(QStringLiteral("9.i.txt.Ab12Cd"), 120);
        make(QStringLiteral("6.f.jpg"), 120);
        make(QStringLiteral("8.h.jpg.backup"), 120, "no picture"); // the user's notes
        QVERIFY(QDir(dir).mkdir(QStringLiteral("7.g.jpg.Ab12Cd")));
        QCOMPARE(RemoveStaleTemporaryFiles(dir, 60000, now), 3);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"2.b.jpg.Xy34Zw", "3.c.jpg.Ab12C", "4.d.jpg.Ab-2Cd", "6.f.jpg",
                              "7.g.jpg.Ab12Cd", "8.h.jpg.backup", "9.i.txt.Ab12Cd"}));
        QCOMPARE(RemoveStaleTemporaryFiles(dir, 5000, now), 1);
        QCOMPARE(RemoveStaleTemporaryFiles(QString(), 0, now), 0);
    }
};

ALBIVEX_TEST_MAIN_WITH_MOUNTS(TestFolderFaults)
#include "TestFolderFaults.moc"

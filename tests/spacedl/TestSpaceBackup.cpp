// "下载留言" and "备份整个空间" on the real main window against the stand-in over HTTP: a
// board saved whole (its UBB made plain, its private message, replies and pictures),
// a whole space saved in one run with its answers asked first, a killed run offered
// again as one, and a throttle ridden out across the parts.

#include "../photos/StandinSignIn.h"
#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "qzone/BoardText.h"
#include "qzone/Endpoints.h"
#include "standin/BoardBook.h"
#include "standin/BoardRoutes.h"
#include "standin/MoodRoutes.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/AlbumRecord.h"
#include "storage/BackupReport.h"
#include "storage/BoardDocumentUpdate.h"
#include "storage/MoodDocumentUpdate.h"
#include "storage/RunJournal.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString MainUin = QString::fromLatin1(sd::MainUin);
const QString SecondUin = QString::fromLatin1(sd::SecondUin);
const QString ThirdUin = QString::fromLatin1(sd::ThirdUin);
const QString SpaceDone = QStringLiteral("整个空间备份完成：");

} // namespace

class TestSpaceBackup : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<QTemporaryDir> m_saveDir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    MainWindow &window() { return m_app->window(); }
    WindowState &state() { return m_app->state(); }
    sd::StandinKnobs &knobs() { return m_standin.knobs(); }
    QStringList logLines() { return m_app->log().lines(); }
    static QString message(const QString &line) { return line.mid(line.indexOf(QLatin1Char(']')) + 1); }
    QString lastLine() { return message(logLines().last()); }
    QString space(const QString &owner) { return m_saveDir->path() + QLatin1Char('/') + owner; }

    void startApp()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        for (QWidget *control : {window().listOwnAlbumsButton, window().listOtherAlbumsButton})
            control->setEnabled(true);
        window().qualityCombo->addItems(
            {QStringLiteral("普通"), QStringLiteral("高清"), QStringLiteral("原图")});
        window().saveFolderEdit->setText(m_saveDir->path());
        m_app->transferOptions().retryPauseMs = 20;
        m_app->busyRetryOptions().waitsMs = {20};
        m_app->servicePauseOptions().scheduleMs = {300};
        m_app->servicePauseOptions().firstGapMs = 20;
        m_app->servicePauseOptions().maxGapMs = 40;
        state().credentials = SignInOverHttp(m_app->network(), m_standin.root(), MainUin);
    }

    bool list(const QString &owner)
    {
        if (owner == MainUin) {
            window().listOwnAlbumsButton->click();
        } else {
            window().otherQqEdit->setText(owner);
            window().listOtherAlbumsButton->click();
        }
        return QTest::qWaitFor([&] { return state().listedOwnerUin == owner; }, 20000)
            && QTest::qWaitFor([this] { return window().backupSpaceButton->isEnabled(); }, 20000);
    }

    bool waitForLast(const QString &head, int timeoutMs = 120000)
    {
        return QTest::qWaitFor(
            [&] { return state().albumJobIdle && !logLines().isEmpty() && lastLine().startsWith(head); },
            timeoutMs);
    }

    int picturesAskedUnder(const QString &prefix)
    {
        int count = 0;
        for (const sd::LoggedRequest &request : knobs().requests())
            count += request.path.startsWith(prefix) ? 1 : 0;
        return count;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        knobs().clearFaults();
        knobs().clearRequests();
        knobs().setThrottle(0, 0);
        m_saveDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_saveDir->isValid());
        startApp();
        QVERIFY(state().credentials.signedIn);
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_app)
            qInfo().noquote() << logLines().join(QLatin1Char('\n'));
        m_app.reset();
        m_prompts.reset();
        m_saveDir.reset();
    }

    // "下载留言": every message, reply and picture against the stand-in's data, the UBB
    // codes made plain, a private message kept as the service gives it to this viewer.
    void boardSavedWhole_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<int>("boardSpace");
        QTest::newRow("own board: its private message's text given") << MainUin << int(sd::MoodSpace::Main);
        QTest::newRow("another's board: a private message without text")
            << SecondUin << int(sd::MoodSpace::Second);
    }
    void boardSavedWhole()
    {
        QFETCH(QString, owner);
        QFETCH(int, boardSpace);
        QVERIFY(list(owner));
        window().downloadBoardButton->click();
        QVERIFY(waitForLast(QStringLiteral("留言板下载完成")));
        const QList<sd::BoardInfo> messages = knobs().data().board().messages(sd::MoodSpace(boardSpace));
        const QString n = QString::number(messages.size());
        QCOMPARE(lastLine(), QStringLiteral("留言板下载完成：共保存") + n + QStringLiteral("条"));
        QVERIFY(logLines().filter(QStringLiteral("[留言板]核对：服务端%1条，已保存%1条").arg(n)).size() == 1);

        const QString folder = space(owner) + QStringLiteral("/留言板");
        const BoardDocumentRead read = LoadBoardDocument(folder);
        QVERIFY(!read.damaged);
        QCOMPARE(read.document.messages.size(), messages.size());
        AlbumRecord record(folder);
        int privates = 0, pictures = 0;
        for (const sd::BoardInfo &info : messages) {
            const auto found = std::find_if(read.document.messages.cbegin(), read.document.messages.cend(),
                                            [&](const BoardDocumentEntry &e) { return e.id == info.id; });
            QVERIFY2(found != read.document.messages.cend(), qPrintable(info.id));
            const bool shown = !info.secret || owner == MainUin;
            QCOMPARE(found->isPrivate, info.secret);
            QCOMPARE(found->text, shown ? BoardPlainText(info.ubb).text : QString());
            QCOMPARE(found->author, info.uin);
            QCOMPARE(found->time.toSecsSinceEpoch(), info.time);
            QCOMPARE(found->replies.size(), info.replies.size());
            for (int r = 0; r < info.replies.size(); ++r)
                QCOMPARE(found->replies.at(r).text, info.replies.at(r).content);
            privates += info.secret ? 1 : 0;
            if (info.picture && shown) {
                ++pictures;
                QCOMPARE(found->pictures.size(), 1);
                QVERIFY(QFileInfo(folder + QLatin1Char('/') + found->pictures.first().file).size() > 0);
                QVERIFY(record.isSaved(info.id + QStringLiteral("/p1")));
            }
        }
        QCOMPARE(privates, 1);
        if (owner != MainUin)
            return;
        QCOMPARE(pictures, 1);
        // The UBB message: formatting gone, its words and emoji code kept.
        const BoardDocumentEntry ubb = read.document.messages.at(1);
        QVERIFY2(!ubb.text.contains(QLatin1String("[ffg")) && !ubb.text.contains(QLatin1String("[/ft]"))
                     && ubb.text.contains(QLatin1String("[em]e100[/em]")),
                 qPrintable(ubb.text));
    }

    // A board closed to the viewer: a box says so; nothing saved.
    void boardRefused()
    {
        QVERIFY(list(QString::fromLatin1(sd::ClosedUin)));
        window().downloadBoardButton->click();
        const QString refused = QStringLiteral("由于对方权限设置，您不能进行此操作");
        QVERIFY(waitForLast(QStringLiteral("[留言板]") + refused));
        QCOMPARE(m_prompts->boxes.last().text, refused);
        QVERIFY(!QFileInfo::exists(space(QString::fromLatin1(sd::ClosedUin)) + QStringLiteral("/留言板")));
    }

    // "备份整个空间" on a space with protected albums: the answers asked before anything
    // is fetched, every album, the posts and the board saved, the progress in the title
    // while it runs, the check lines, what is not complete, the summary last, the report
    // written and the journal gone.
    void wholeSpaceSaved()
    {
        QVERIFY(list(ThirdUin));
        m_prompts->answerNextText(QString::fromUtf8(sd::AlbumQuestionAnswer));
        m_prompts->answerNextText(QString::fromUtf8(sd::AlbumPassword));
        const QString ownTitle = window().windowTitle();
        window().backupSpaceButton->click();
        QVERIFY(QTest::qWaitFor(
            [this] { return window().windowTitle().startsWith(QStringLiteral("整个空间备份 ")); }, 20000));
        QVERIFY(!window().backupSpaceButton->isEnabled() && !window().downloadBoardButton->isEnabled());
        QVERIFY(waitForLast(SpaceDone));
        QCOMPARE(window().windowTitle(), ownTitle);
        // The two answers, asked before the run went on; no other box.
        QCOMPARE(m_prompts->textQuestions.size(), 2);
        QVERIFY(m_prompts->boxes.isEmpty());

        const int posts = int(knobs().data().moods().posts(sd::MoodSpace::Third).size());
        const int messages = sd::ThirdBoardCount;
        // The video album's untranscoded item fails, as it does alone; of the pictures,
        // the albums' nine at least.
        const QRegularExpressionMatch summary
            = QRegularExpression(QStringLiteral("^相册3个，说说%1条，留言%2条，图片(\\d+)张，失败1张$")
                                     .arg(posts)
                                     .arg(messages))
                  .match(lastLine().mid(SpaceDone.size()));
        QVERIFY2(lastLine().startsWith(SpaceDone) && summary.hasMatch() && summary.captured(1).toInt() >= 9,
                 qPrintable(lastLine()));
        const QStringList tail = logLines().mid(logLines().size() - 7, 6);
        QStringList expected {QStringLiteral("[视频]核对"),     QStringLiteral("[问答相册]核对"),
                              QStringLiteral("[密码相册]核对"), QStringLiteral("[说说]核对"),
                              QStringLiteral("[留言板]核对"),   QStringLiteral("未完成的项目：视频..")};
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(message(tail.at(i)).startsWith(expected.at(i)), qPrintable(tail.join('\n')));

        const QString report = space(ThirdUin) + QLatin1Char('/') + BackupReportFileName();
        QFile file(report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString &head : expected.mid(0, 5))
            QVERIFY2(text.contains(head), qPrintable(text));
        QCOMPARE(LoadBoardDocument(space(ThirdUin) + QStringLiteral("/留言板")).document.messages.size(),
                 messages);
        QCOMPARE(LoadMoodDocument(space(ThirdUin) + QStringLiteral("/说说")).document.moods.size(), posts);
        // The video album is not complete: the journal keeps it, and only it.
        const std::optional<RunJournal> journal = LoadRunJournal(space(ThirdUin));
        QVERIFY(journal && journal->wholeSpace);
        QCOMPARE(journal->remaining().size(), 1);
        QCOMPARE(journal->remaining().first().id, QString::fromLatin1(sd::VideoAlbum.id));
    }

    // Killed mid-run (the window gone without a stop), then listed again: the run is
    // offered as one, with the parts left, and takes up only those, fetching no
    // picture recorded whole again.
    void killedThenOfferedAgain()
    {
        QVERIFY(list(MainUin));
        // Cut in the big pictures' album, the last but one, once its first picture is
        // recorded whole and its second on the way.
        for (const char *size : {"b", "c"})
            knobs().addFault(sd::FaultRule::latency(QStringLiteral("/photo/%1/V1large/2*").arg(size), 3000));
        window().backupSpaceButton->click();
        const QString recordLog = space(MainUin) + QStringLiteral("/大图/") + AlbumRecord::journalFileName();
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(recordLog).size() > 0; }, 60000));
        m_app.reset();
        knobs().clearFaults();
        const std::optional<RunJournal> killed = LoadRunJournal(space(MainUin));
        QVERIFY(killed && killed->wholeSpace);
        const int left = int(killed->remaining().size());
        // That album, the last, the posts and the board are left.
        QCOMPARE(left, 4);
        knobs().clearRequests();

        startApp();
        m_prompts->answerNextQuestion(true);
        QVERIFY(list(MainUin));
        QVERIFY(QTest::qWaitFor([this] { return !m_prompts->boxes.isEmpty(); }, 10000));
        QCOMPARE(m_prompts->boxes.last().text,
                 QStringLiteral("上次的整个空间备份还没有完成（剩余%1项），是否继续？").arg(left));
        QVERIFY(waitForLast(SpaceDone));
        QCOMPARE(m_prompts->boxes.size(), 1); // the album and posts' runs offered nothing
        // Albums complete before the kill were not asked again, nor the picture of the
        // cut album recorded whole.
        QCOMPARE(picturesAskedUnder(QStringLiteral("/photo/b/V1large/1"))
                     + picturesAskedUnder(QStringLiteral("/photo/c/V1large/1")),
                 0);
        for (const RunJournal::Album &part : killed->albums) {
            if (part.complete)
                QCOMPARE(picturesAskedUnder(QStringLiteral("/photo/b/") + part.id + QLatin1Char('/'))
                             + picturesAskedUnder(QStringLiteral("/photo/c/") + part.id + QLatin1Char('/')),
                         0);
        }
        QCOMPARE(LoadBoardDocument(space(MainUin) + QStringLiteral("/留言板")).document.messages.size(),
                 sd::MainBoardCount);
        // Only the lost 说说 picture keeps a part incomplete.
        const std::optional<RunJournal> after = LoadRunJournal(space(MainUin));
        QVERIFY(after);
        QCOMPARE(after->remaining().size(), 1);
        QCOMPARE(after->remaining().first().kind, RunJournal::Kind::Moods);
    }

    // "终止任务" during the posts: the run ends at once, says so last, and its journal
    // keeps the parts not done.
    void stopped()
    {
        QVERIFY(list(SecondUin));
        knobs().addFault(sd::FaultRule::latency(QString::fromLatin1(sd::MoodRoutes::ListPath), 5000));
        window().backupSpaceButton->click();
        QVERIFY(QTest::qWaitFor(
            [this] { return picturesAskedUnder(QString::fromLatin1(sd::MoodRoutes::ListPath)) > 0; }, 30000));
        window().stopButton->click();
        QVERIFY(waitForLast(QStringLiteral("已停止整个空间备份工作"), 3000));
        QVERIFY(logLines().filter(QStringLiteral("未完成的项目：说说、留言板..")).size() == 1);
        const std::optional<RunJournal> journal = LoadRunJournal(space(SecondUin));
        QVERIFY(journal && journal->wholeSpace);
        QCOMPARE(journal->remaining().size(), 2);
        QVERIFY(window().backupSpaceButton->isEnabled());
    }

    // The service throttles through every part: the run pauses as a whole and goes on,
    // nothing failed for it, the summary last.
    void throttleAcrossParts()
    {
        QVERIFY(list(SecondUin));
        knobs().setThrottle(4, 1);
        // And each part's first list turned away, so that every part meets it.
        for (const char *path :
             {sd::ServiceRoutes::PhotoListOtherPath, sd::MoodRoutes::ListPath, sd::BoardRoutes::ListPath})
            knobs().addFault(sd::FaultRule::serviceCode(QString::fromLatin1(path), -10049, 2));
        QStringList titles;
        connect(&window(), &QWidget::windowTitleChanged, this, [&titles](const QString &t) { titles << t; });
        window().backupSpaceButton->click();
        QVERIFY(waitForLast(SpaceDone, 180000));
        knobs().setThrottle(0, 0);
        const QStringList lines = logLines();
        QVERIFY2(std::any_of(lines.cbegin(), lines.cend(),
                             [](const QString &l) {
                                 return message(l).startsWith(QStringLiteral("服务繁忙，暂停下载"));
                             })
                     && !lines.filter(QStringLiteral("[说说]服务繁忙，暂停下载")).isEmpty()
                     && !lines.filter(QStringLiteral("[留言板]服务繁忙，暂停下载")).isEmpty(),
                 qPrintable(lines.join('\n')));
        QVERIFY2(lastLine().startsWith(SpaceDone
                                       + QStringLiteral("相册2个，说说%1条，留言%2条，图片")
                                             .arg(knobs().data().moods().posts(sd::MoodSpace::Second).size())
                                             .arg(sd::SecondBoardCount))
                     && lastLine().endsWith(QStringLiteral("张，失败0张")),
                 qPrintable(lastLine()));
        QVERIFY(!QFileInfo::exists(space(SecondUin) + QLatin1Char('/') + RunJournalFileName()));
        // During a pause the title says when the run goes on.
        QVERIFY2(
            !titles.filter(QRegularExpression(QStringLiteral("^整个空间备份 .* \\d\\d:\\d\\d:\\d\\d继续 - ")))
                 .isEmpty(),
            qPrintable(titles.join('\n')));
    }
};

QTEST_MAIN(TestSpaceBackup)
#include "TestSpaceBackup.moc"

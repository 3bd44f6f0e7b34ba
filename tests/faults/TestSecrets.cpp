// The sign-in's secrets stay in memory. The tool runs as a process of its own (the
// fault driver) with its home, configuration, cache, data, runtime and temporary
// folders all inside one fresh folder; it signs in through its sign-in window's
// browser, lists the albums, saves an album and signs out. Then the skey, the p_skey,
// the g_tk over either and every cookie value the stand-in issued are looked for in
// its standard output and error, its activity log and every file it left anywhere in
// those folders or in the save folders: none may appear. Against today's service the
// sign-in also gets a p_skey and the photo lists a photo key. Saving an album behind a
// question, the answer typed and the key made of it are secrets too.

#include "FaultWindow.h"
#include "qzone/AlbumAnswer.h"
#include "standin/PageToken.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace albivex;
namespace sd = albivex::standin;

Q_DECLARE_METATYPE(DownloadCommand)

namespace {

struct Secret
{
    QString what; // "skey", "cookie pt4_token"...
    QByteArray value;
};

// Every form in which a secret (UTF-8) could be written: as it is, in UTF-16 (as
// QString data or a Windows-style file would hold it) and percent-encoded.
QList<QByteArray> formsOf(const QByteArray &value)
{
    QList<QByteArray> forms {value};
    const QString text = QString::fromUtf8(value);
    forms << QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const QByteArray encoded = QUrl::toPercentEncoding(text);
    if (encoded != value)
        forms << encoded;
    return forms;
}

// The secrets of every sign-in the stand-in issued. Cookie values of fewer than eight
// characters ("1", "ctc", "Yes") and the bare QQ number are no secret: the tool shows
// the number in its window and names a folder after it.
QList<Secret> secretsOf(const QList<sd::SignIn> &signIns)
{
    QList<Secret> secrets;
    for (const sd::SignIn &signIn : signIns) {
        secrets << Secret {QStringLiteral("skey"), signIn.skey.toLatin1()};
        // Without its "@", whichever way that was escaped.
        secrets << Secret {QStringLiteral("skey without @"), signIn.skey.mid(1).toLatin1()};
        secrets << Secret {QStringLiteral("g_tk"), sd::PageToken(signIn.skey).toLatin1()};
        if (!signIn.pSkey.isEmpty()) {
            secrets << Secret {QStringLiteral("p_skey"), signIn.pSkey.toLatin1()};
            secrets << Secret {QStringLiteral("g_tk over p_skey"), sd::PageToken(signIn.pSkey).toLatin1()};
        }
        if (!signIn.photoKey.isEmpty())
            secrets << Secret {QStringLiteral("qq_photo_key"), signIn.photoKey.toLatin1()};
        for (const QNetworkCookie &cookie : signIn.cookies) {
            const QByteArray value = cookie.value();
            if (value.size() >= 8 && value != signIn.uin.toLatin1())
                secrets << Secret {QStringLiteral("cookie ") + QString::fromLatin1(cookie.name()), value};
        }
    }
    return secrets;
}

// "where: what" for every secret found in the bytes.
QStringList findSecrets(const QByteArray &bytes, const QString &where, const QList<Secret> &secrets)
{
    QStringList found;
    for (const Secret &secret : secrets) {
        for (const QByteArray &form : formsOf(secret.value)) {
            if (bytes.contains(form)) {
                found << where + QStringLiteral(": ") + secret.what;
                break;
            }
        }
    }
    return found;
}

QStringList findSecretsInFiles(const QString &root, const QList<Secret> &secrets, int *files)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).isSymLink())
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        ++*files;
        found << findSecrets(file.readAll(), path, secrets);
    }
    return found;
}

} // namespace

class TestSecrets : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<DownloadCommand>();
        QVERIFY(m_standin.start());
    }

    // The search itself finds a secret in each form it looks for.
    void theSearchFindsPlantedSecrets()
    {
        const QList<Secret> secrets = secretsOf({m_standin.knobs().signIn(QString::fromLatin1(sd::MainUin))});
        const Secret &skey = secrets.first();
        for (const QByteArray &form : formsOf(skey.value))
            QVERIFY(!findSecrets("x" + form + "y", QStringLiteral("planted"), secrets).isEmpty());
        QVERIFY(!findSecrets("skey=%40" + skey.value.mid(1), QStringLiteral("planted"), secrets).isEmpty());
        QVERIFY(findSecrets("nothing here", QStringLiteral("planted"), secrets).isEmpty());
        // A typed answer is not Latin-1: its UTF-16 form is found too.
        const QString answer = QString::fromUtf8(sd::AlbumQuestionAnswer);
        const QByteArray utf16(reinterpret_cast<const char *>(answer.utf16()), answer.size() * 2);
        QVERIFY(!findSecrets(utf16, QStringLiteral("planted"), {{QStringLiteral("answer"), answer.toUtf8()}})
                     .isEmpty());
    }

    void noSecretIsWrittenAnywhere_data()
    {
        QTest::addColumn<DownloadCommand>("command");
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("answered"); // the album behind a question, of the third space
        for (DownloadCommand command : DownloadCommands)
            QTest::newRow(qPrintable(CommandName(command))) << command << false << false;
        QTest::newRow("album, today's service") << DownloadCommand::Album << true << false;
        QTest::newRow("album behind a question") << DownloadCommand::Album << false << true;
    }
    void noSecretIsWrittenAnywhere()
    {
        QFETCH(DownloadCommand, command);
        QFETCH(bool, today);
        QFETCH(bool, answered);
        const sd::AlbumFacts album = answered ? sd::QuestionAlbum : sd::SmallAlbum;
        m_standin.knobs().setProfile(today ? sd::Profile::Today : sd::Profile::Default);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString home = root.filePath(QStringLiteral("home"));
        const QString save = root.filePath(QStringLiteral("save"));
        QTemporaryDir logDir; // the activity log, apart from what the tool writes
        const QString log = logDir.filePath(QStringLiteral("activity.log"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QList<std::pair<const char *, const char *>> folders = {{"HOME", ""},
                                                                      {"XDG_CONFIG_HOME", "/.config"},
                                                                      {"XDG_CACHE_HOME", "/.cache"},
                                                                      {"XDG_DATA_HOME", "/.local/share"},
                                                                      {"XDG_STATE_HOME", "/.local/state"},
                                                                      {"XDG_RUNTIME_DIR", "/run"},
                                                                      {"TMPDIR", "/tmp"}};
        for (const auto &[variable, below] : folders) {
            const QString path = home + QLatin1String(below);
            QVERIFY(QDir().mkpath(path));
            environment.insert(QLatin1String(variable), path);
        }
        QVERIFY(
            QFile::setPermissions(home + QStringLiteral("/run"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QVERIFY(QDir().mkpath(save));
        environment.insert(QStringLiteral("ALBIVEX_SERVICE_ROOT"), m_standin.root());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess tool;
        tool.setProcessEnvironment(environment);
        QStringList arguments {QStringLiteral("--browser"),
                               QStringLiteral("--sign-out"),
                               QStringLiteral("--album"),
                               QString::fromLatin1(album.id),
                               QStringLiteral("--command"),
                               command == DownloadCommand::Album ? QStringLiteral("album")
                                                                 : QStringLiteral("selected"),
                               QStringLiteral("--save"),
                               save,
                               QStringLiteral("--log"),
                               log};
        if (answered) {
            arguments << QStringLiteral("--other") << QString::fromLatin1(sd::ThirdUin)
                      << QStringLiteral("--answer") << QString::fromUtf8(sd::AlbumQuestionAnswer);
        }
        tool.start(QStringLiteral(ALBIVEX_FAULT_DRIVER), arguments);
        QVERIFY(tool.waitForStarted(10000));
        const bool ended = tool.waitForFinished(150000);
        const QByteArray out = tool.readAllStandardOutput();
        const QByteArray err = tool.readAllStandardError();
        if (!ended)
            tool.kill();
        QVERIFY2(ended && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0,
                 (out + err).constData());
        QVERIFY2(out.contains("driver: downloaded\ndriver: signed out"), out.constData());

        // The session did what it had to: signed in through the browser, saved the album.
        const QList<sd::SignIn> signIns = m_standin.knobs().issuedSignIns();
        QList<Secret> secrets = secretsOf(signIns);
        QVERIFY(!secrets.isEmpty());
        if (answered) {
            AlbumEntry asked;
            asked.priv = PrivQuestion;
            asked.question = QString::fromUtf8(sd::AlbumQuestion);
            const QString answer = QString::fromUtf8(sd::AlbumQuestionAnswer);
            secrets << Secret {QStringLiteral("answer"), answer.toUtf8()};
            secrets << Secret {QStringLiteral("answer key"), AnswerKeys(asked, answer).answer.toLatin1()};
        }
        if (today)
            QVERIFY(!signIns.last().pSkey.isEmpty() && !signIns.last().photoKey.isEmpty());
        QCOMPARE(AllFilesUnder(save).size(), album.pictures);
        const QByteArray activity = ContentOf(log);
        QVERIFY2(activity.contains(QStringLiteral("]注销成功..").toUtf8()), activity.constData());

        // The choices it keeps between runs went to its configuration folder, searched below.
        const QByteArray settings = ContentOf(home + QStringLiteral("/.config/Albivex/albivex.ini"));
        QVERIFY2(settings.contains(save.toUtf8()), settings.constData());

        QStringList found = findSecrets(out, QStringLiteral("standard output"), secrets);
        found << findSecrets(err, QStringLiteral("standard error"), secrets);
        found << findSecrets(activity, QStringLiteral("activity log"), secrets);
        int files = 0;
        found << findSecretsInFiles(home, secrets, &files);
        found << findSecretsInFiles(save, secrets, &files);
        // The save folder the tool makes beside itself at start-up.
        const QString besideTool = QFileInfo(QStringLiteral(ALBIVEX_FAULT_DRIVER)).absolutePath();
        found << findSecretsInFiles(besideTool + QStringLiteral("/QQ空间相册"), secrets, &files);
        qInfo("searched %d files, %lld bytes of output and %lld bytes of log for %d secrets", files,
              static_cast<long long>(out.size() + err.size()), static_cast<long long>(activity.size()),
              int(secrets.size()));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestSecrets)
#include "TestSecrets.moc"

#include "standin/ServiceRoutes.h"

#include "standin/AlbumListAnswer.h"
#include "standin/AnswerText.h"
#include "standin/ErrorAnswer.h"
#include "standin/FloatviewAnswer.h"
#include "standin/HostileAnswers.h"
#include "standin/PageToken.h"
#include "standin/PhotoListAnswer.h"
#include "standin/StandinData.h"
#include "standin/StandinKnobs.h"
#include "standin/WebPages.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>

namespace albivex::standin {

namespace {

const QByteArray htmlType = QByteArrayLiteral("text/html; charset=utf-8");
const QByteArray scriptType = QByteArrayLiteral("application/x-javascript; charset=utf-8");
const QByteArray gbkScriptType = QByteArrayLiteral("application/x-javascript; charset=gbk");

HttpAnswer html(int status, const QString &page)
{
    return HttpAnswer::make(status, htmlType, page.toUtf8());
}

HttpAnswer script(const QString &text, bool gbk)
{
    if (!gbk)
        return HttpAnswer::make(200, scriptType, text.toUtf8());
    QStringEncoder encoder("GBK");
    return HttpAnswer::make(200, gbkScriptType, encoder.encode(text));
}

QString callbackOf(const RequestView &request)
{
    return AnswerText::callbackName(request.query(QStringLiteral("callback")),
                                    request.query(QStringLiteral("callbackFun")));
}

bool isMedia(const QString &path)
{
    return path.startsWith(QLatin1String("/photo/")) || path.startsWith(QLatin1String("/video/"))
        || path.startsWith(QLatin1String("/mood/")) || path.startsWith(QLatin1String("/board/"));
}

QString valueOf(const QList<QPair<QString, QString>> &items, const QString &key)
{
    for (const auto &item : items) {
        if (item.first == key)
            return item.second;
    }
    return QString();
}

QString digitsOnly(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

QByteArray setCookie(const QByteArray &name, const QString &value)
{
    QNetworkCookie cookie(name, value.toLatin1());
    cookie.setPath(QStringLiteral("/"));
    return cookie.toRawForm(QNetworkCookie::Full);
}

int intOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

ServiceRoutes::ServiceRoutes(StandinKnobs &knobs) : m_knobs(knobs), m_moods(knobs), m_board(knobs) { }

HttpAnswer ServiceRoutes::answer(const RequestView &request) const
{
    const QString path = request.path();
    if (path == QLatin1String(VersionPath)) {
        // A static file that caches would gladly keep: a client must ask past them.
        HttpAnswer answer
            = HttpAnswer::make(200, "text/plain; charset=utf-8", m_knobs.versionText().toUtf8());
        answer.headers.append({QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("public, max-age=600")});
        answer.headers.append(
            {QByteArrayLiteral("Last-Modified"), QByteArrayLiteral("Wed, 23 Dec 2015 08:00:00 GMT")});
        return answer;
    }
    if (path == QLatin1String("/")) {
        const QString uin = SignInBook::uinFromCookie(request.cookie(QStringLiteral("uin")));
        return html(200, WebPages::securityCentre(uin));
    }
    if (path == QLatin1String(SignInPath))
        return signInPage(request);
    if (path == QLatin1String(SignInSubmitPath))
        return signInSubmit(request);
    if (path == QLatin1String(ProfilePath))
        return profile(request);
    if (path == QLatin1String(LandingPath))
        return landing(request);
    if (path == QLatin1String(AvatarPath)) {
        const QString uin = SignInBook::normalUin(digitsOnly(request.query(QStringLiteral("dst_uin"))));
        return HttpAnswer::make(200, "image/png", m_knobs.pictures().avatar(uin));
    }
    if (path == QLatin1String(AlbumListV3Path))
        return albumList(request, false);
    if (path == QLatin1String(AlbumListV2Path))
        return albumList(request, true);
    if (path == QLatin1String(PhotoListOwnPath) || path == QLatin1String(PhotoListOtherPath))
        return photoList(request);
    if (path == QLatin1String(FloatviewPath))
        return floatview(request);
    if (MoodRoutes::isMoodPath(path))
        return moods(request);
    if (path == QLatin1String(BoardRoutes::ListPath))
        return board(request);
    if (isMedia(path))
        return picture(request);
    if (path == QLatin1String("/download/"))
        return html(200, WebPages::vendorPage(QStringLiteral("下载最新版本")));
    if (path == QLatin1String("/forum/"))
        return html(200, WebPages::vendorPage(QStringLiteral("论坛")));
    if (path == QLatin1String("/service/"))
        return html(200, WebPages::vendorPage(QStringLiteral("客服")));
    return html(404, WebPages::notFound(path));
}

HttpAnswer ServiceRoutes::signInPage(const RequestView &request) const
{
    return html(200, WebPages::signInPage(request.query(QStringLiteral("s_url")), QString(), QString()));
}

HttpAnswer ServiceRoutes::signInSubmit(const RequestView &request) const
{
    const auto fields = request.method() == QLatin1String("POST") ? request.form() : request.logged.query;
    const QString uin = valueOf(fields, QStringLiteral("u")).trimmed();
    const QString password = valueOf(fields, QStringLiteral("p"));
    const QString returnUrl = valueOf(fields, QStringLiteral("s_url"));
    static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{4,10}$"));
    QString error;
    if (!number.match(uin).hasMatch())
        error = QStringLiteral("请输入正确的QQ号码。");
    else if (password.isEmpty())
        error = QStringLiteral("请输入密码。");
    else if (password == QLatin1String("wrong"))
        error = QStringLiteral("您输入的帐号或密码不正确，请重新输入。");
    if (!error.isEmpty())
        return html(200, WebPages::signInPage(returnUrl, uin, error));

    const SignIn signIn = m_knobs.signIns().issue(uin);
    const QString location = returnUrl.isEmpty() ? QStringLiteral("/") : returnUrl;
    HttpAnswer answer = html(302, WebPages::redirectPage(location));
    answer.headers.append({QByteArrayLiteral("Location"), location.toUtf8()});
    for (const QNetworkCookie &cookie : signIn.cookies)
        answer.headers.append({QByteArrayLiteral("Set-Cookie"), cookie.toRawForm(QNetworkCookie::Full)});
    return answer;
}

HttpAnswer ServiceRoutes::profile(const RequestView &request) const
{
    auto fields = request.form();
    fields += request.logged.query;
    QString callback = valueOf(fields, QStringLiteral("callback"));
    if (callback.isEmpty())
        callback = QStringLiteral("GetCdlistCallback");
    const QString uin = SignInBook::normalUin(digitsOnly(valueOf(fields, QStringLiteral("id"))));
    const QString text = WebPages::profile(callback, uin, DataSet::nickname(uin));
    return HttpAnswer::make(200, "application/javascript; charset=utf-8", text.toUtf8());
}

HttpAnswer ServiceRoutes::landing(const RequestView &request) const
{
    const QString uinCookie = request.cookie(QStringLiteral("uin"));
    const QString skey = request.cookie(QStringLiteral("skey"));
    HttpAnswer answer = html(200, WebPages::qzoneLanding(SignInBook::uinFromCookie(uinCookie)));
    if (m_knobs.profile() == Profile::Today) {
        const QString pSkey = m_knobs.signIns().grantPSkey(uinCookie, skey);
        if (!pSkey.isEmpty())
            answer.headers.append({QByteArrayLiteral("Set-Cookie"), setCookie("p_skey", pSkey)});
    }
    return answer;
}

QString ServiceRoutes::viewer(const RequestView &request) const
{
    const QString uinCookie = request.cookie(QStringLiteral("uin"));
    const QString skey = request.cookie(QStringLiteral("skey"));
    if (!m_knobs.signIns().isSignedIn(uinCookie, skey))
        return QString();
    QString token = skey;
    if (m_knobs.profile() == Profile::Today) {
        token = request.cookie(QStringLiteral("p_skey"));
        if (token.isEmpty() || token != m_knobs.signIns().pSkeyOf(uinCookie, skey))
            return QString();
    }
    if (request.query(QStringLiteral("g_tk")) != PageToken(token))
        return QString();
    return SignInBook::uinFromCookie(uinCookie);
}

Space ServiceRoutes::spaceOf(const QString &hostUin, const QString &viewer) const
{
    const QString host = hostUin.trimmed().isEmpty() ? viewer : SignInBook::normalUin(hostUin);
    if (host == QLatin1String(SecondUin))
        return Space::Second;
    if (host == QLatin1String(ThirdUin))
        return Space::Third;
    if (host == QLatin1String(ClosedUin))
        return viewer == host ? Space::Main : Space::Closed;
    if (host == viewer || m_knobs.signIns().hasSignedIn(host))
        return Space::Main;
    return Space::Empty;
}

HttpAnswer ServiceRoutes::serviceError(const RequestView &request, int code) const
{
    if (MoodRoutes::isMoodPath(request.path()) || request.path() == QLatin1String(BoardRoutes::ListPath))
        return MoodRoutes::error(request, code);
    return script(ErrorAnswer::of(callbackOf(request), code),
                  request.path() == QLatin1String(AlbumListV2Path));
}

HttpAnswer ServiceRoutes::albumList(const RequestView &request, bool gbk) const
{
    const QString callback = callbackOf(request);
    const QString who = viewer(request);
    if (who.isEmpty())
        return serviceError(request, ErrorAnswer::NotSignedIn);
    const Space space = spaceOf(request.query(QStringLiteral("hostUin")), who);
    if (space == Space::Closed)
        return serviceError(request, ErrorAnswer::ClosedSpace);
    const QList<AlbumInfo> albums = m_knobs.data().albums(space, m_knobs.profile());
    if (m_knobs.profile() != Profile::Today)
        return script(AlbumListAnswer::list(callback, request.root, albums), gbk);
    // The second space sorts its albums in classes.
    if (space == Space::Second)
        return script(AlbumListAnswer::classView(callback, request.root, albums), gbk);
    // Pages of at most 30 in the sort view; without paging keys the first page.
    const int start = qBound(0, intOr(request.query(QStringLiteral("pageStart")), 0), int(albums.size()));
    const int num = qBound(0, intOr(request.query(QStringLiteral("pageNum")), AlbumListAnswer::PageSize),
                           AlbumListAnswer::PageSize);
    const QList<AlbumInfo> page = albums.mid(start, num);
    const AlbumListAnswer::Paging paging {int(albums.size()), start + int(page.size())};
    return script(AlbumListAnswer::list(callback, request.root, page, paging, true), gbk);
}

HttpAnswer ServiceRoutes::photoList(const RequestView &request) const
{
    const QString who = viewer(request);
    if (who.isEmpty())
        return serviceError(request, ErrorAnswer::NotSignedIn);
    HttpAnswer answer = photoPage(request, who);
    if (m_knobs.profile() == Profile::Today) {
        // The key that opens other spaces' pictures, one per sign-in.
        const QString key = m_knobs.signIns().grantPhotoKey(request.cookie(QStringLiteral("uin")),
                                                            request.cookie(QStringLiteral("skey")));
        answer.headers.append({QByteArrayLiteral("Set-Cookie"), setCookie("qq_photo_key", key)});
    }
    return answer;
}

ServiceRoutes::AlbumLookup ServiceRoutes::lookUpAlbum(const RequestView &request, const QString &who) const
{
    const Space space = spaceOf(request.query(QStringLiteral("hostUin")), who);
    if (space == Space::Closed)
        return {std::nullopt, ErrorAnswer::ClosedSpace};
    const auto album
        = m_knobs.data().album(space, request.query(QStringLiteral("topicId")), m_knobs.profile());
    if (!album)
        return {std::nullopt, ErrorAnswer::AlbumMissing};
    if (!album->allowAccess)
        return {std::nullopt, ErrorAnswer::NoAccess};
    return {album, 0};
}

bool ServiceRoutes::isAnswered(const RequestView &request, const AlbumInfo &album)
{
    const auto md5 = [](const QByteArray &text) {
        return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
    };
    const QString answer = request.query(QStringLiteral("answer"));
    switch (album.priv) {
    case 5:
        return request.query(QStringLiteral("question")) == album.question
            && answer == md5(QUrl::toPercentEncoding(QString::fromUtf8(AlbumQuestionAnswer))).toUpper();
    case 2:
        return answer == md5(AlbumPassword);
    default:
        return true;
    }
}

HttpAnswer ServiceRoutes::photoPage(const RequestView &request, const QString &who) const
{
    const AlbumLookup found = lookUpAlbum(request, who);
    if (!found.album)
        return serviceError(request, found.error);
    if (!isAnswered(request, *found.album))
        return serviceError(request, ErrorAnswer::WrongAnswer);
    const int start = qMax(0, intOr(request.query(QStringLiteral("pageStart")), 0));
    const int num = qBound(0, intOr(request.query(QStringLiteral("pageNum")), MaxPageNum), MaxPageNum);
    const QString hostUin = request.query(QStringLiteral("hostUin"));
    const QString owner = hostUin.trimmed().isEmpty() ? who : SignInBook::normalUin(hostUin);
    return script(PhotoListAnswer::page(callbackOf(request), request.root, owner, *found.album,
                                        m_knobs.data(), start, num, m_knobs.profile() == Profile::Today),
                  false);
}

HttpAnswer ServiceRoutes::floatview(const RequestView &request) const
{
    const QString who = viewer(request);
    if (who.isEmpty())
        return serviceError(request, ErrorAnswer::NotSignedIn);
    const AlbumLookup found = lookUpAlbum(request, who);
    if (!found.album)
        return serviceError(request, found.error);
    const AlbumInfo &album = *found.album;
    const QString picKey = request.query(QStringLiteral("picKey"));
    const QString prefix = album.id + QLatin1Char('_');
    bool isNumber = false;
    const int key = picKey.startsWith(prefix) ? picKey.mid(prefix.size()).toInt(&isNumber) : 0;
    const int position = isNumber ? album.positionOf(key) : -1;
    if (position < 0)
        return serviceError(request, ErrorAnswer::PhotoMissing);
    const int prevNum = intOr(request.query(QStringLiteral("prevNum")), 0);
    const int postNum = intOr(request.query(QStringLiteral("postNum")), 0);
    return script(FloatviewAnswer::photos(callbackOf(request), request.root, album, m_knobs.data(), position,
                                          prevNum, postNum, m_knobs.profile() == Profile::Today),
                  false);
}

HttpAnswer ServiceRoutes::moods(const RequestView &request) const
{
    const QString who = viewer(request);
    if (who.isEmpty())
        return serviceError(request, ErrorAnswer::NotSignedIn);
    return request.path() == QLatin1String(MoodRoutes::ListPath) ? m_moods.list(request, who)
                                                                 : m_moods.detail(request, who);
}

HttpAnswer ServiceRoutes::board(const RequestView &request) const
{
    const QString who = viewer(request);
    if (who.isEmpty())
        return serviceError(request, ErrorAnswer::NotSignedIn);
    return m_board.list(request, who);
}

HttpAnswer ServiceRoutes::picture(const RequestView &request) const
{
    const PictureStore::Picture found = m_knobs.pictures().find(request.path());
    if (!found.found())
        return html(404, WebPages::notFound(request.path()));
    const QString requester = SignInBook::uinFromCookie(request.cookie(QStringLiteral("uin")));
    if (request.path().startsWith(QLatin1String("/video/"))) {
        // Videos go only to a page of their owner's space.
        const QString owner = found.ownerUin.isEmpty() ? requester : found.ownerUin;
        if (request.logged.header("Referer")
            != "https://user.qzone.qq.com/" + owner.toLatin1() + "/infocenter")
            return HttpAnswer::make(403, QByteArray(), QByteArray());
    } else if (m_knobs.profile() == Profile::Today && !found.ownerUin.isEmpty() && requester != found.ownerUin
               && !m_knobs.signIns().isPhotoKey(request.cookie(QStringLiteral("qq_photo_key")))) {
        return HttpAnswer::make(200, "image/gif", m_knobs.placeholderBytes());
    }
    HttpAnswer answer = HttpAnswer::make(200, found.contentType, QByteArray());
    answer.stream = found.body;
    return answer;
}

bool ServiceRoutes::isBudgeted(const QString &path)
{
    for (const char *listPath :
         {AlbumListV3Path, AlbumListV2Path, PhotoListOwnPath, PhotoListOtherPath, FloatviewPath,
          MoodRoutes::ListPath, MoodRoutes::DetailPath, BoardRoutes::ListPath}) {
        if (path == QLatin1String(listPath))
            return true;
    }
    return isMedia(path);
}

HttpAnswer ServiceRoutes::overBudget(const RequestView &request) const
{
    if (!isMedia(request.path()))
        return serviceError(request, ErrorAnswer::TooFrequent);
    HttpAnswer answer = HttpAnswer::make(429, QByteArray(), QByteArray());
    answer.headers.append({QByteArrayLiteral("Retry-After"), QByteArrayLiteral("1")});
    return answer;
}

HttpAnswer ServiceRoutes::throttled(const RequestView &request, int retryAfterSeconds) const
{
    if (!isMedia(request.path()))
        return serviceError(request, -10001);
    HttpAnswer answer = HttpAnswer::make(429, QByteArray(), QByteArray());
    answer.headers.append({QByteArrayLiteral("Retry-After"), QByteArray::number(retryAfterSeconds)});
    return answer;
}

HttpAnswer ServiceRoutes::hostileAnswer(const RequestView &request, const FaultRule &rule) const
{
    const QString callback = callbackOf(request);
    switch (rule.kind) {
    case FaultKind::ServiceCode:
        return serviceError(request, rule.code);
    case FaultKind::Placeholder:
        return HttpAnswer::make(200, "image/gif", m_knobs.placeholderBytes());
    case FaultKind::HugeAlbumList:
        return HttpAnswer::make(200, scriptType,
                                HostileAnswers::hugeAlbumList(
                                    callback, request.root, m_knobs.data().albums(Space::Main), rule.bytes));
    case FaultKind::ManyCreatetime:
        return HttpAnswer::make(
            200, scriptType,
            HostileAnswers::manyAlbums(callback, rule.keys,
                                       request.path().endsWith(QLatin1String("cgi_list_photo"))
                                           ? QByteArrayLiteral("photoList")
                                           : QByteArrayLiteral("albumListModeSort")));
    case FaultKind::UnbalancedQuotes:
        return HttpAnswer::make(200, scriptType, HostileAnswers::unbalancedQuotes(callback, request.root));
    case FaultKind::ThrottledEmpty: {
        const QString who = viewer(request);
        if (request.path().endsWith(QLatin1String("cgi_list_photo"))) {
            const AlbumLookup found = lookUpAlbum(request, who);
            return HttpAnswer::make(200, scriptType,
                                    HostileAnswers::throttledEmpty(callback, "photoList", "totalInAlbum",
                                                                   found.album ? found.album->total : 1));
        }
        const Space space = spaceOf(request.query(QStringLiteral("hostUin")), who);
        const qsizetype albums = m_knobs.data().albums(space, m_knobs.profile()).size();
        return script(QString::fromUtf8(HostileAnswers::throttledEmpty(
                          callback, "albumListModeSort", "albumsInUser", int(qMax<qsizetype>(1, albums)))),
                      request.path() == QLatin1String(AlbumListV2Path));
    }
    case FaultKind::UnexpectedCharset: {
        // The normal answer, re-encoded and declared in the chosen charset.
        HttpAnswer normal = answer(request);
        if (normal.stream)
            return normal;
        const QByteArray type = normal.header("Content-Type");
        const int at = type.indexOf("charset=");
        QStringDecoder decoder(at < 0 ? "UTF-8" : type.mid(at + 8).constData());
        const QString text = decoder.isValid() ? decoder.decode(normal.body) : QString::fromUtf8(normal.body);
        QStringEncoder encoder(rule.charset.constData());
        const QByteArray bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toUtf8();
        const QByteArray base = at < 0 ? type + "; " : type.left(at);
        return HttpAnswer::make(normal.status, base + "charset=" + rule.charset, bytes);
    }
    default:
        return answer(request);
    }
}

} // namespace albivex::standin

#include "standin/MoodRoutes.h"

#include "standin/AnswerText.h"
#include "standin/ErrorAnswer.h"
#include "standin/StandinKnobs.h"

namespace albivex::standin {

namespace {

const QByteArray scriptType = QByteArrayLiteral("application/x-javascript; charset=utf-8");

QString digitsOnly(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return SignInBook::normalUin(digits);
}

int intOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QString callbackOf(const RequestView &request)
{
    return AnswerText::callbackName(request.query(QStringLiteral("callback")),
                                    request.query(QStringLiteral("callbackFun")));
}

bool isBare(const RequestView &request)
{
    return request.query(QStringLiteral("format")) == QLatin1String("json");
}

} // namespace

MoodRoutes::MoodRoutes(StandinKnobs &knobs) : m_knobs(knobs) { }

bool MoodRoutes::isMoodPath(const QString &path)
{
    return path == QLatin1String(ListPath) || path == QLatin1String(DetailPath);
}

HttpAnswer MoodRoutes::error(const RequestView &request, int code)
{
    const QString callback = callbackOf(request);
    // The posts' service turns a busy request away in words of its own.
    QString text = code == -10000 || code == -10001
        ? AnswerText::error(callback, code, code, QStringLiteral("使用人数过多，请稍后再试"))
        : ErrorAnswer::of(callback, code);
    if (isBare(request)) // callback( ... );\n around the object
        text = text.mid(callback.size() + 1).chopped(3) + QLatin1Char('\n');
    return HttpAnswer::make(200, scriptType, text.toUtf8());
}

MoodRoutes::Target MoodRoutes::targetOf(const RequestView &request, const QString &viewer) const
{
    const QString asked = digitsOnly(request.query(QStringLiteral("uin")));
    const QString host = asked.isEmpty() ? viewer : asked;
    const MoodSpace space = MoodBook::spaceOf(host, viewer, m_knobs.signIns().hasSignedIn(host));
    return {space, {host, DataSet::nickname(host)}};
}

MoodAnswer::Form MoodRoutes::formOf(const RequestView &request) const
{
    return {callbackOf(request), isBare(request), request.root, m_knobs.profile() == Profile::Today};
}

int MoodRoutes::refusal(MoodSpace space)
{
    if (space == MoodSpace::Refused)
        return ErrorAnswer::MoodsRefused;
    if (space == MoodSpace::Secret)
        return ErrorAnswer::MoodsSecret;
    return 0;
}

HttpAnswer MoodRoutes::list(const RequestView &request, const QString &viewer) const
{
    const Target target = targetOf(request, viewer);
    if (const int code = refusal(target.space))
        return error(request, code);
    const MoodBook &book = m_knobs.data().moods();
    const int start = qMax(0, intOr(request.query(QStringLiteral("pos")), 0));
    const int num = qBound(0, intOr(request.query(QStringLiteral("num")), MaxPageSize), MaxPageSize);
    // Past the listable posts (a sealed space's older ones) the page is null.
    const int end = qMin(book.listable(target.space), start + num);
    QList<MoodInfo> page;
    for (int index = start; index < end; ++index)
        page.append(book.post(target.space, index));
    const QString text = MoodAnswer::list(formOf(request), target.owner, book.total(target.space), page);
    return HttpAnswer::make(200, scriptType, text.toUtf8());
}

HttpAnswer MoodRoutes::detail(const RequestView &request, const QString &viewer) const
{
    const Target target = targetOf(request, viewer);
    if (const int code = refusal(target.space))
        return error(request, code);
    const auto post = m_knobs.data().moods().find(target.space, request.query(QStringLiteral("tid")));
    if (!post)
        return error(request, ErrorAnswer::MoodMissing);
    return HttpAnswer::make(200, scriptType,
                            MoodAnswer::detail(formOf(request), target.owner, *post).toUtf8());
}

} // namespace albivex::standin

#include "standin/BoardRoutes.h"

#include "standin/AnswerText.h"
#include "standin/DataSet.h"
#include "standin/ErrorAnswer.h"
#include "standin/MoodAnswer.h"
#include "standin/MoodRoutes.h"
#include "standin/SignInBook.h"
#include "standin/StandinKnobs.h"

namespace albivex::standin {

namespace {

using Fields = QList<QPair<QString, QString>>;

int intOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QString digitsOnly(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
    }
    return SignInBook::normalUin(digits);
}

QString arrayOf(int indent, const QList<Fields> &items)
{
    if (items.isEmpty())
        return QStringLiteral("[]");
    QString text = QStringLiteral("[\n");
    for (const Fields &item : items)
        text += AnswerText::object(indent + 3, item) + QLatin1String(",\n");
    text.chop(2);
    return text + QLatin1Char('\n') + QString(indent, QLatin1Char(' ')) + QLatin1Char(']');
}

} // namespace

BoardRoutes::BoardRoutes(StandinKnobs &knobs) : m_knobs(knobs) { }

HttpAnswer BoardRoutes::list(const RequestView &request, const QString &viewer) const
{
    const QString asked = digitsOnly(request.query(QStringLiteral("hostUin")));
    const QString host = asked.isEmpty() ? viewer : asked;
    const MoodSpace space = MoodBook::spaceOf(host, viewer, m_knobs.signIns().hasSignedIn(host));
    if (space == MoodSpace::Refused)
        return MoodRoutes::error(request, ErrorAnswer::MoodsRefused);
    const bool today = m_knobs.profile() == Profile::Today;
    const auto text = [today](const QString &plain) {
        return MoodAnswer::text(plain, today);
    };
    const BoardBook &book = m_knobs.data().board();
    const int start = qMax(0, intOr(request.query(QStringLiteral("start")), 0));
    const int num = qBound(0, intOr(request.query(QStringLiteral("num")), MaxPageSize), MaxPageSize);
    const int end = qMin(book.count(space), start + num);
    QList<Fields> messages;
    for (int index = start; index < end; ++index) {
        const BoardInfo m = book.message(space, index);
        const bool shown = !m.secret || viewer == host || viewer == m.uin;
        QString ubb = m.ubb;
        if (m.picture)
            ubb += QStringLiteral("[img]%1%2[/img]").arg(request.root, m.picturePath());
        QList<Fields> replies;
        for (const BoardReplyInfo &r : m.replies) {
            const bool owner = r.uin.isEmpty();
            replies.append({{QStringLiteral("uin"), owner ? host : r.uin},
                            {QStringLiteral("nick"), text(owner ? DataSet::nickname(host) : r.nick)},
                            {QStringLiteral("time"), QString::number(r.time)},
                            {QStringLiteral("content"), text(r.content)}});
        }
        messages.append({{QStringLiteral("id"), text(m.id)},
                         {QStringLiteral("uin"), m.uin},
                         {QStringLiteral("nickname"), text(m.nickname)},
                         {QStringLiteral("secret"), m.secret ? QStringLiteral("1") : QStringLiteral("0")},
                         {QStringLiteral("pubtime"), QString::number(m.time)},
                         {QStringLiteral("modifytime"), QString::number(m.modified)},
                         {QStringLiteral("ubbContent"), text(shown ? ubb : QString())},
                         {QStringLiteral("htmlContent"), text(shown ? ubb.toHtmlEscaped() : QString())},
                         {QStringLiteral("replyList"), arrayOf(9, replies)}});
    }
    const QString data
        = AnswerText::object(3,
                             Fields {{QStringLiteral("total"), QString::number(book.count(space))},
                                     {QStringLiteral("commentList"), arrayOf(6, messages)}})
              .mid(3);
    const Fields top = {{QStringLiteral("code"), QStringLiteral("0")},
                        {QStringLiteral("subcode"), QStringLiteral("0")},
                        {QStringLiteral("message"), QStringLiteral("\"\"")},
                        {QStringLiteral("data"), data}};
    const QString callback = AnswerText::callbackName(request.query(QStringLiteral("callback")), QString());
    const QString body = callback + QLatin1Char('(') + AnswerText::object(0, top) + QLatin1String(");\n");
    return HttpAnswer::make(200, "application/x-javascript; charset=utf-8", body.toUtf8());
}

} // namespace albivex::standin

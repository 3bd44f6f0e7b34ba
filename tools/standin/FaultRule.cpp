#include "standin/FaultRule.h"

namespace albivex::standin {

namespace {

struct KindName
{
    FaultKind kind;
    const char *name;
};

const KindName kindNames[] = {
    {FaultKind::Latency, "latency"},
    {FaultKind::Status, "status"},
    {FaultKind::CutBody, "cut"},
    {FaultKind::ChunkedCut, "chunked-cut"},
    {FaultKind::LongBody, "long"},
    {FaultKind::EmptyBody, "empty"},
    {FaultKind::HtmlAsPicture, "html"},
    {FaultKind::StallAfterHeaders, "stall-headers"},
    {FaultKind::StallBeforeAnswer, "stall"},
    {FaultKind::Close, "close"},
    {FaultKind::HugeAlbumList, "huge-list"},
    {FaultKind::ManyCreatetime, "many-createtime"},
    {FaultKind::UnbalancedQuotes, "unbalanced"},
    {FaultKind::UnexpectedCharset, "charset"},
    {FaultKind::ServiceCode, "code"},
    {FaultKind::Placeholder, "placeholder"},
    {FaultKind::ThrottledEmpty, "throttled-empty"},
};

} // namespace

bool FaultRule::matches(const QString &requestPath) const
{
    if (path.endsWith(QLatin1Char('*')))
        return requestPath.startsWith(QStringView(path).chopped(1));
    return requestPath == path;
}

FaultRule FaultRule::make(const QString &path, FaultKind kind, int times)
{
    FaultRule rule;
    rule.path = path;
    rule.kind = kind;
    rule.times = times;
    return rule;
}

FaultRule FaultRule::httpStatus(const QString &path, int status, int times, int retryAfterSeconds)
{
    FaultRule rule = make(path, FaultKind::Status, times);
    rule.status = status;
    rule.retryAfterSeconds = retryAfterSeconds;
    return rule;
}

FaultRule FaultRule::latency(const QString &path, int delayMs, int times)
{
    FaultRule rule = make(path, FaultKind::Latency, times);
    rule.delayMs = delayMs;
    return rule;
}

FaultRule FaultRule::serviceCode(const QString &path, int code, int times)
{
    FaultRule rule = make(path, FaultKind::ServiceCode, times);
    rule.code = code;
    return rule;
}

FaultRule FaultRule::redirect(const QString &path, const QByteArray &location, int times)
{
    FaultRule rule = httpStatus(path, 302, times);
    rule.location = location;
    return rule;
}

QString FaultRule::kindName(FaultKind kind)
{
    for (const KindName &k : kindNames) {
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    }
    return QString();
}

std::optional<FaultRule> FaultRule::parse(const QString &text)
{
    const int eq = text.lastIndexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    FaultRule rule;
    rule.path = text.left(eq);
    QString what = text.mid(eq + 1);
    bool ok = true;
    if (const int at = what.indexOf(QLatin1Char('@')); at >= 0) {
        rule.times = what.mid(at + 1).toInt(&ok);
        if (!ok || rule.times < 0)
            return std::nullopt;
        what.truncate(at);
    }
    const int colon = what.indexOf(QLatin1Char(':'));
    const QString name = colon < 0 ? what : what.left(colon);
    const QString arg = colon < 0 ? QString() : what.mid(colon + 1);

    const int status = name.toInt(&ok);
    if (ok) {
        if (status < 100 || status > 599)
            return std::nullopt;
        rule.kind = FaultKind::Status;
        rule.status = status;
        if (!arg.isEmpty()) {
            rule.retryAfterSeconds = arg.toInt(&ok);
            if (!ok)
                return std::nullopt;
        }
        return rule;
    }
    bool known = false;
    for (const KindName &k : kindNames) {
        if (name == QLatin1String(k.name) && k.kind != FaultKind::Status) {
            rule.kind = k.kind;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    ok = true;
    switch (rule.kind) {
    case FaultKind::Latency:
        rule.delayMs = arg.toInt(&ok);
        break;
    case FaultKind::HugeAlbumList:
        if (!arg.isEmpty())
            rule.bytes = arg.toLongLong(&ok);
        break;
    case FaultKind::ManyCreatetime:
        if (!arg.isEmpty())
            rule.keys = arg.toInt(&ok);
        break;
    case FaultKind::UnexpectedCharset:
        if (!arg.isEmpty())
            rule.charset = arg.toLatin1();
        break;
    case FaultKind::ServiceCode:
        rule.code = arg.toInt(&ok);
        break;
    default:
        ok = arg.isEmpty();
        break;
    }
    if (!ok)
        return std::nullopt;
    return rule;
}

} // namespace albivex::standin

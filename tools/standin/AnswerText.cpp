#include "standin/AnswerText.h"

namespace albivex::standin {

QString AnswerText::escapedUrl(const QString &root, const QString &path)
{
    QString url = root + path;
    url.replace(QLatin1Char('/'), QLatin1String("\\/"));
    return quoted(url);
}

QString AnswerText::quoted(const QString &wireText)
{
    QString text = wireText;
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString AnswerText::field(int indent, const QString &key, const QString &value)
{
    return QString(indent, QLatin1Char(' ')) + QLatin1Char('"') + key + QLatin1String("\" : ") + value
        + QLatin1String(",\n");
}

QString AnswerText::object(int indent, const QMap<QString, QString> &fields)
{
    QList<QPair<QString, QString>> ordered;
    ordered.reserve(fields.size());
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        ordered.append({it.key(), it.value()});
    return object(indent, ordered);
}

QString AnswerText::object(int indent, const QList<QPair<QString, QString>> &fields)
{
    QString text = QString(indent, QLatin1Char(' ')) + QLatin1String("{\n");
    for (const auto &[key, value] : fields)
        text += field(indent + 3, key, value);
    if (!fields.isEmpty())
        text.chop(2); // the last field's comma
    return text + QLatin1Char('\n') + QString(indent, QLatin1Char(' ')) + QLatin1Char('}');
}

QString AnswerText::asciiEscaped(const QString &wireText)
{
    QString text;
    text.reserve(wireText.size());
    for (const QChar c : wireText) {
        if (c.unicode() < 0x80)
            text += c;
        else
            text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return text;
}

QString AnswerText::error(const QString &callback, int code, int subcode, const QString &message)
{
    return callback + QLatin1String("({\n") + field(3, QStringLiteral("code"), QString::number(code))
        + field(3, QStringLiteral("message"), quoted(message))
        + field(3, QStringLiteral("notice"), QStringLiteral("0")) + QLatin1String("   \"subcode\" : ")
        + QString::number(subcode) + QLatin1String("\n});\n");
}

QString AnswerText::callbackName(const QString &callback, const QString &callbackFun)
{
    if (!callback.isEmpty())
        return callback;
    return callbackFun + QLatin1String("_Callback");
}

} // namespace albivex::standin

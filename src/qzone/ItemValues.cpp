#include "qzone/ItemValues.h"

#include <limits>

namespace albivex {

namespace {

bool IsBlock(QStringView token)
{
    return token.startsWith(QLatin1Char('{')) || token.startsWith(QLatin1Char('['));
}

} // namespace

QString ItemText(const ItemField *f)
{
    if (!f || f->token.isNull())
        return QString();
    if (f->quoted)
        return DecodeJsonText(f->token);
    if (f->token == u"null" || f->token == u"undefined" || IsBlock(f->token))
        return QString();
    return f->token.toString();
}

// Text for the values many items repeat: looked up in the pool before any copy.
QString ItemPooledText(const ItemField *f, TextPool &pool)
{
    if (!f || f->token.isNull())
        return QString();
    if (!f->quoted && (f->token == u"null" || f->token == u"undefined" || IsBlock(f->token)))
        return QString();
    if (!f->quoted || !f->token.contains(QLatin1Char('\\')))
        return pool.of(f->token);
    return pool.of(DecodeJsonText(f->token));
}

std::optional<qint64> ItemWholeNumber(const ItemField *f)
{
    if (!f)
        return std::nullopt;
    // A number in quotes may be written with escapes ("\t12"); bare ones never are.
    const QString decoded
        = f->quoted && f->token.contains(QLatin1Char('\\')) ? DecodeJsonText(f->token) : QString();
    const QStringView token = (decoded.isNull() ? f->token : QStringView(decoded)).trimmed();
    qsizetype at = 0;
    const bool negative = token.startsWith(QLatin1Char('-'));
    if (negative)
        ++at;
    qint64 value = 0;
    qsizetype digits = 0;
    for (; at < token.size() && token.at(at) >= QLatin1Char('0') && token.at(at) <= QLatin1Char('9');
         ++at, ++digits) {
        if (digits == 18)
            return std::nullopt; // past what a qint64 surely holds
        value = value * 10 + (token.at(at).unicode() - u'0');
    }
    if (digits == 0)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> ItemIntValue(const ItemField *f)
{
    const std::optional<qint64> value = ItemWholeNumber(f);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

int ItemInt(const ItemField *f, int missing)
{
    return ItemIntValue(f).value_or(missing);
}

bool ItemFlag(const ItemField *f)
{
    return f && (f->token == u"true" || ItemWholeNumber(f).value_or(0) != 0);
}

// The keys of a block value ({...}); none for any other value.
ListItem ItemBlock(const ItemField *f)
{
    if (!f || f->quoted || !f->token.startsWith(QLatin1Char('{')))
        return ListItem();
    return ReadBlockFields(f->token);
}

// Calls visit with each object of an array value ([...]), as the list reader gives
// them; nothing for any other value. The items view a copy made for the reading, so
// visit takes out what it keeps.
void VisitItemArray(const ItemField *f, const ItemVisitor &visit)
{
    if (!f || f->quoted || !f->token.startsWith(QLatin1Char('[')))
        return;
    QString text = QStringLiteral("{\"\":");
    text += f->token;
    text += QLatin1Char('}');
    VisitListItems(text, {u""}, visit);
}

// The keys of the answer's outermost object (the first brace on, past any wrapper).
ListItem AnswerTopLevel(QStringView answer)
{
    const qsizetype brace = answer.indexOf(QLatin1Char('{'));
    return brace < 0 ? ListItem() : ReadBlockFields(answer.sliced(brace));
}

} // namespace albivex

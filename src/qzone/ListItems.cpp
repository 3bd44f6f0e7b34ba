#include "qzone/ListItems.h"

#include <QVarLengthArray>

#include <algorithm>
#include <optional>

namespace albivex {

namespace {

enum class Block : char { Object, Array };

// What may come next at the scanner's point of the structure.
enum class Expect : char { Outside, Key, Colon, Value, After };

// What a string turns out to be, from what follows it.
enum class Role : char { Key, Value, Unknown, End };

// Bridges longer than this are not weighed whole: real ones (a line break, a closing
// brace, a comma, an opening brace and indentation) are far shorter, and the bound
// keeps hostile answers linear.
constexpr qsizetype MaxBridge = 96;

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsStructure(char16_t c)
{
    return c == u'{' || c == u'}' || c == u'[' || c == u']' || c == u',' || c == u':';
}

// What may follow a string in a well-formed answer.
bool IsFollower(char16_t c)
{
    return c == u':' || c == u',' || c == u'}' || c == u']';
}

qsizetype SkipBlanks(QStringView text, qsizetype at)
{
    while (at < text.size() && IsBlank(text.at(at).unicode()))
        ++at;
    return at;
}

// The unescaped closing quote of the string opened at `quote`; -1 when the text ends
// first.
qsizetype ClosingQuote(QStringView text, qsizetype quote)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype at = quote + 1; at < size; ++at) {
        if (data[at] == u'\\')
            ++at;
        else if (data[at] == u'"')
            return at;
    }
    return -1;
}

// The open blocks and what may come next. Closers that match no open block are
// ignored, so one stray brace cannot end the list it stands in.
class Structure
{
public:
    Expect expect() const { return m_expect; }
    qsizetype depth() const { return m_blocks.size(); }
    bool inObject() const { return !m_blocks.isEmpty() && m_blocks.last() == Block::Object; }

    void open(Block block)
    {
        m_blocks.append(block);
        m_expect = block == Block::Object ? Expect::Key : Expect::Value;
    }
    bool close(Block block)
    {
        if (m_blocks.isEmpty() || m_blocks.last() != block)
            return false;
        m_blocks.removeLast();
        m_expect = m_blocks.isEmpty() ? Expect::Outside : Expect::After;
        return true;
    }
    void comma()
    {
        if (!m_blocks.isEmpty())
            m_expect = inObject() ? Expect::Key : Expect::Value;
    }
    void colon()
    {
        if (m_expect == Expect::Colon)
            m_expect = Expect::Value;
    }
    void key() { m_expect = Expect::Colon; }
    void value()
    {
        if (m_expect == Expect::Value)
            m_expect = Expect::After;
    }

    // Whether `bridge` (blanks and structure characters only) can stand between a
    // string taken as `self` and a string of role `next`, strictly as JSON has it.
    bool bridges(Role self, QStringView bridge, Role next) const
    {
        Expect expect = m_expect;
        if (self == Role::Key)
            expect = Expect::Colon;
        else if (self == Role::Value)
            expect = Expect::After;
        QVarLengthArray<Block, 8> pushed;
        qsizetype below = m_blocks.size(); // blocks of the real structure still open
        const auto top = [&]() -> std::optional<Block> {
            if (!pushed.isEmpty())
                return pushed.last();
            if (below > 0)
                return m_blocks.at(below - 1);
            return std::nullopt;
        };
        bool justOpened = false;
        for (const QChar qc : bridge) {
            const char16_t c = qc.unicode();
            if (IsBlank(c))
                continue;
            const bool opened = justOpened;
            justOpened = false;
            if (c == u'{' || c == u'[') {
                if (expect != Expect::Value)
                    return false;
                const Block block = c == u'{' ? Block::Object : Block::Array;
                pushed.append(block);
                expect = block == Block::Object ? Expect::Key : Expect::Value;
                justOpened = true;
            } else if (c == u'}' || c == u']') {
                const Block block = c == u'}' ? Block::Object : Block::Array;
                const std::optional<Block> open = top();
                if (!open || *open != block)
                    return false;
                // After a value, in an empty block, or after a trailing comma.
                const bool trailing = (block == Block::Object && expect == Expect::Key)
                    || (block == Block::Array && expect == Expect::Value);
                if (expect != Expect::After && !opened && !trailing)
                    return false;
                if (!pushed.isEmpty())
                    pushed.removeLast();
                else
                    --below;
                expect = pushed.isEmpty() && below == 0 ? Expect::Outside : Expect::After;
            } else if (c == u',') {
                if (expect != Expect::After)
                    return false;
                expect = top() == Block::Object ? Expect::Key : Expect::Value;
            } else if (c == u':') {
                if (expect != Expect::Colon)
                    return false;
                expect = Expect::Value;
            }
        }
        switch (next) {
        case Role::Key:
            return expect == Expect::Key;
        case Role::Value:
            return expect == Expect::Value;
        case Role::Unknown:
            return expect == Expect::Key || expect == Expect::Value;
        case Role::End:
            return true;
        }
        return false;
    }

private:
    QVarLengthArray<Block, 16> m_blocks;
    Expect m_expect = Expect::Outside;
};

// Collects the items of the lists named by the keys, from the scanner's events. A
// depth is the number of blocks open before the event.
class Collector
{
public:
    // `visit` gets each item as it closes; returning false ends the reading.
    Collector(const QList<QStringView> &listKeys, const ItemVisitor &visit)
        : m_listKeys(listKeys), m_visit(visit)
    { }

    bool done() const { return m_done; }

    void key(QStringView key, qsizetype quote, qsizetype pieceStart, qsizetype depth)
    {
        if (m_itemDepth >= 0) {
            if (depth == m_itemDepth) {
                endPiece(quote);
                ItemField field;
                field.key = key;
                m_item.fields.append(field);
                m_pieceStart = pieceStart;
                m_fieldOpen = true;
            }
            return;
        }
        if (m_listDepth < 0)
            m_pendingList = m_listKeys.contains(key) ? depth : -1;
    }

    void scalar(QStringView token, bool quoted, qsizetype depth)
    {
        m_pendingList = -1;
        if (m_itemDepth >= 0 && depth == m_itemDepth && m_fieldOpen && m_item.fields.last().token.isNull()) {
            ItemField &field = m_item.fields.last();
            field.token = token.isNull() ? QStringView(u"") : token;
            field.quoted = quoted;
        }
    }

    void open(Block block, qsizetype at, qsizetype depth)
    {
        const qsizetype pending = m_pendingList;
        m_pendingList = -1;
        if (m_itemDepth >= 0) {
            if (depth == m_itemDepth && m_fieldOpen && m_item.fields.last().token.isNull()
                && m_blockStart < 0)
                m_blockStart = at;
            return;
        }
        if (m_listDepth < 0) {
            if (block == Block::Array && pending == depth)
                m_listDepth = depth + 1;
            return;
        }
        if (block == Block::Object && depth == m_listDepth) {
            m_itemDepth = depth + 1;
            m_item.fields.clear();
            m_fieldOpen = false;
        }
    }

    void close(qsizetype at, qsizetype depthAfter)
    {
        m_pendingList = -1;
        if (m_itemDepth >= 0) {
            if (depthAfter == m_itemDepth && m_blockStart >= 0) {
                if (m_fieldOpen && m_item.fields.last().token.isNull())
                    m_item.fields.last().token = m_text.sliced(m_blockStart, at + 1 - m_blockStart);
                m_blockStart = -1;
            }
            if (depthAfter == m_itemDepth - 1) {
                endPiece(at);
                m_done = !m_visit(m_item);
                // The next item reuses the room: one item's fields are held at a time.
                m_item.fields.clear();
                m_itemDepth = -1;
            }
            return;
        }
        if (m_listDepth >= 0 && depthAfter < m_listDepth)
            m_listDepth = -1;
    }

    void setText(QStringView text) { m_text = text; }

private:
    void endPiece(qsizetype end)
    {
        if (!m_fieldOpen)
            return;
        ItemField &field = m_item.fields.last();
        field.piece = m_pieceStart < end ? m_text.sliced(m_pieceStart, end - m_pieceStart) : QStringView(u"");
        m_fieldOpen = false;
    }

    const QList<QStringView> &m_listKeys;
    const ItemVisitor &m_visit;
    QStringView m_text;
    ListItem m_item;
    qsizetype m_pendingList = -1; // depth where a list key's array would open
    qsizetype m_listDepth = -1; // depth of the list's elements
    qsizetype m_itemDepth = -1; // depth of the item's keys
    qsizetype m_pieceStart = 0;
    qsizetype m_blockStart = -1;
    bool m_fieldOpen = false;
    bool m_done = false;
};

// The role of the string opened at `quote`, by what follows its closing quote.
Role RoleAt(QStringView text, qsizetype quote)
{
    const qsizetype close = ClosingQuote(text, quote);
    if (close < 0)
        return Role::Unknown;
    const qsizetype next = SkipBlanks(text, close + 1);
    if (next >= text.size())
        return Role::Value;
    const char16_t c = text.at(next).unicode();
    if (c == u':')
        return Role::Key;
    return IsFollower(c) ? Role::Value : Role::Unknown;
}

template<typename Sink> void Scan(QStringView text, Sink &sink)
{
    Structure structure;
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype at = text.indexOf(QLatin1Char('{'));
    if (at < 0)
        return;
    while (at < size && !sink.done()) {
        const char16_t c = data[at];
        if (structure.expect() == Expect::Outside && c != u'{') {
            // Between top-level objects (the wrapper, or after a stray closer).
            at = text.indexOf(QLatin1Char('{'), at);
            if (at < 0)
                return;
            continue;
        }
        switch (c) {
        case u'{':
        case u'[': {
            const Block block = c == u'{' ? Block::Object : Block::Array;
            sink.open(block, at, structure.depth());
            structure.open(block);
            ++at;
            break;
        }
        case u'}':
        case u']':
            if (structure.close(c == u'}' ? Block::Object : Block::Array))
                sink.close(at, structure.depth());
            ++at;
            break;
        case u',':
            structure.comma();
            ++at;
            break;
        case u':':
            structure.colon();
            ++at;
            break;
        case u'"': {
            const qsizetype close = ClosingQuote(text, at);
            const qsizetype next = close < 0 ? size : SkipBlanks(text, close + 1);
            const bool whole = close >= 0 && (next >= size || IsFollower(data[next]));
            qsizetype end = close; // where the string's text ends
            qsizetype resume = close + 1;
            qsizetype colon = whole && next < size && data[next] == u':' ? next : -1;
            if (!whole) {
                // Damaged: the quote at `close` opens what comes next (or the answer
                // ends). The string ends before the run of structure that fits there.
                qsizetype limit = close;
                if (close < 0) {
                    // The JSONP wrapper's end is no part of the structure.
                    limit = size;
                    while (
                        limit > at + 1
                        && (IsBlank(data[limit - 1]) || data[limit - 1] == u';' || data[limit - 1] == u')'))
                        --limit;
                }
                const Role self = structure.expect() == Expect::Key ? Role::Key
                    : structure.expect() == Expect::Value           ? Role::Value
                                                                    : Role::Unknown;
                const Role nextRole = close < 0 ? Role::End : RoleAt(text, close);
                qsizetype lowest = limit;
                while (lowest > at + 1 && limit - lowest < MaxBridge
                       && (IsBlank(data[lowest - 1]) || IsStructure(data[lowest - 1])))
                    --lowest;
                // The shortest run that fits: braces and commas the string may hold
                // itself are left to it rather than made into items of their own. At
                // the answer's end nothing follows to attach to, so all of it is
                // structure that fits.
                qsizetype bridge = limit;
                for (qsizetype start = nextRole == Role::End ? lowest : limit - 1;
                     start >= lowest && start < limit; start += nextRole == Role::End ? 1 : -1) {
                    if (!IsBlank(data[start])
                        && structure.bridges(self, text.sliced(start, limit - start), nextRole)) {
                        bridge = start;
                        break;
                    }
                }
                // No string holds a raw line break: blanks before the bridge are layout.
                end = bridge;
                while (end > at + 1 && IsBlank(data[end - 1]))
                    --end;
                resume = bridge;
                colon = -1;
                if (self == Role::Key) {
                    const qsizetype first = SkipBlanks(text, bridge);
                    if (first < limit && data[first] == u':')
                        colon = first;
                }
            }
            const QStringView token = text.sliced(at + 1, end - (at + 1));
            if (colon >= 0 && structure.inObject()) {
                sink.key(token, at, SkipBlanks(text, colon + 1), structure.depth());
                structure.key();
            } else if (structure.expect() == Expect::Value) {
                sink.scalar(token, true, structure.depth());
                structure.value();
            }
            at = resume;
            break;
        }
        default: {
            if (IsBlank(c)) {
                ++at;
                break;
            }
            qsizetype end = at + 1;
            while (end < size && !IsBlank(data[end]) && !IsStructure(data[end]) && data[end] != u'"')
                ++end;
            if (structure.expect() == Expect::Value) {
                sink.scalar(text.sliced(at, end - at), false, structure.depth());
                structure.value();
            }
            at = end;
            break;
        }
        }
    }
}

QList<ListItem> Collect(QStringView text, const QList<QStringView> &listKeys, bool firstOnly)
{
    QList<ListItem> items;
    VisitListItems(text, listKeys, [&](const ListItem &item) {
        items.append(item);
        return !firstOnly;
    });
    return items;
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

const ItemField *ListItem::find(QStringView key) const
{
    for (const ItemField &field : fields) {
        if (field.key == key)
            return &field;
    }
    return nullptr;
}

QString FieldValue(const ItemField *field)
{
    return field ? ItemValue(field->piece) : QString();
}

QString FieldText(const ItemField *field)
{
    if (!field)
        return QString();
    return field->quoted ? DecodeJsonText(field->token) : field->token.toString();
}

QString FieldTextLike(const ItemField *field, const QString &value)
{
    if (field && field->quoted && value.size() == field->token.size() && value == field->token
        && !field->token.contains(QLatin1Char('\\')))
        return value;
    return FieldText(field);
}

QString ListItem::value(QStringView key) const
{
    return FieldValue(find(key));
}

QString ListItem::text(QStringView key) const
{
    return FieldText(find(key));
}

void ListItem::findAll(const QStringView *keys, qsizetype count, const ItemField **found) const
{
    std::fill(found, found + count, nullptr);
    for (const ItemField &field : fields) {
        if (field.key.isEmpty())
            continue;
        const QChar first = field.key.front();
        for (qsizetype j = 0; j < count; ++j) {
            if (!found[j] && keys[j].size() == field.key.size() && keys[j].front() == first
                && keys[j] == field.key) {
                found[j] = &field;
                break;
            }
        }
    }
}

void VisitListItems(QStringView answer, const QList<QStringView> &listKeys, const ItemVisitor &visit)
{
    Collector collector(listKeys, visit);
    collector.setText(answer);
    Scan(answer, collector);
}

QList<ListItem> ReadListItems(QStringView answer, const QList<QStringView> &listKeys)
{
    return Collect(answer, listKeys, false);
}

bool HasListItem(QStringView answer, const QList<QStringView> &listKeys)
{
    bool found = false;
    VisitListItems(answer, listKeys, [&found](const ListItem &) {
        found = true;
        return false;
    });
    return found;
}

ListItem ReadBlockFields(QStringView block)
{
    // The block read as the one item of a list that holds it.
    static const QString Wrapper = QStringLiteral("{\"\" : [");
    QString text = Wrapper;
    text += block;
    text += QLatin1String("]}");
    QList<ListItem> items = Collect(text, {u""}, true);
    if (items.isEmpty())
        return ListItem();
    // Views into the block itself, not into the wrapped copy.
    ListItem item = items.takeFirst();
    const auto rebase = [&](QStringView view) {
        if (view.isNull())
            return view;
        return block.sliced(view.data() - text.constData() - Wrapper.size(), view.size());
    };
    for (ItemField &field : item.fields) {
        field.key = rebase(field.key);
        field.piece = rebase(field.piece);
        field.token = rebase(field.token);
    }
    return item;
}

QString DecodeJsonText(QStringView token)
{
    const qsizetype firstEscape = token.indexOf(QLatin1Char('\\'));
    if (firstEscape < 0)
        return token.toString();
    QString text;
    text.reserve(token.size());
    text += token.first(firstEscape);
    for (qsizetype at = firstEscape; at < token.size(); ++at) {
        const QChar c = token.at(at);
        if (c != QLatin1Char('\\') || at + 1 >= token.size()) {
            text += c;
            continue;
        }
        const char16_t e = token.at(at + 1).unicode();
        char16_t decoded = 0;
        switch (e) {
        case u'"':
        case u'\\':
        case u'/':
            decoded = e;
            break;
        case u'b':
            decoded = u'\b';
            break;
        case u'f':
            decoded = u'\f';
            break;
        case u'n':
            decoded = u'\n';
            break;
        case u'r':
            decoded = u'\r';
            break;
        case u't':
            decoded = u'\t';
            break;
        case u'u': {
            int value = 0;
            bool hex = at + 6 <= token.size();
            for (qsizetype i = at + 2; hex && i < at + 6; ++i) {
                const int digit = HexValue(token.at(i).unicode());
                hex = digit >= 0;
                value = value * 16 + digit;
            }
            if (hex) {
                text += QChar(static_cast<char16_t>(value));
                at += 5;
                continue;
            }
            break;
        }
        default:
            break;
        }
        if (decoded == 0) {
            text += c; // not an escape: kept as written
            continue;
        }
        text += QChar(decoded);
        ++at;
    }
    return text;
}

QString ItemValue(QStringView piece)
{
    const qsizetype comma = piece.indexOf(QLatin1Char(','));
    QStringView value = comma < 0 ? piece : piece.first(comma);
    if (comma < 0) {
        while (!value.isEmpty() && IsBlank(value.last().unicode()))
            value.chop(1);
    }
    // One copy that skips the quotes as it goes.
    QString text(value.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const QChar c : value) {
        *out = c;
        out += c != QLatin1Char('"');
    }
    text.truncate(out - text.constData());
    return text;
}

} // namespace albivex

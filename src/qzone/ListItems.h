#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

namespace albivex {

// Reads the lists of the services' answers item by item, so that every value stays
// with the object that carries it, whichever keys an item lacks or adds.
//
// The answers are JSON inside a JSONP wrapper, but not always valid JSON: a bare
// `undefined`, a trailing comma, or a string whose closing quote is missing (a caption
// that ended in a backslash). So they are read by a lenient scanner that keeps the
// structure JSON gives a well-formed answer: strings run to their closing quote
// (backslash escapes skipped), braces and brackets nest, a key is a string followed by
// a colon. A closer that does not match the open block is ignored, and text before
// the first brace (the wrapper) is not read.
//
// A damaged string is one whose closing quote is not followed by a colon, comma,
// closer or the end: in a well-formed answer every string is. Its closing quote was
// really the opening quote of what came next. So the string is taken to end before
// the shortest run of structure characters ({ } [ ] , :) and blanks that leads up to
// that quote and makes sense at that point of the structure: a key follows only a
// brace or a comma inside an object, a block opens only where a value may stand.
// Braces and commas a text may hold itself stay with it rather than make items of
// their own. When no quote follows at all, the longest such run before the wrapper's
// end closes what is open. No string holds a raw line break, so blanks before that
// run are not its text. The damage costs that one value: the items, keys and values
// around it are read as if it were whole.

// One key of an item as written.
struct ItemField
{
    QStringView key; // between the key's quotes, escapes as written
    // From the first non-blank after the colon up to the next key of the item (its
    // opening quote) or the item's closing brace: the text the value rules read.
    QStringView piece;
    // The value alone: a string's text between its quotes (escapes as written), a
    // scalar's text (1, true, undefined...), or a block with its brackets.
    QStringView token;
    bool quoted = false; // token is a string's text
};

// One object of a list: its keys in the order written.
struct ListItem
{
    QList<ItemField> fields;

    // The first field named key (a key given twice keeps its first value); nullptr
    // when the item has none.
    const ItemField *find(QStringView key) const;
    // The value of key by the list rules (ItemValue); empty when the item lacks it.
    QString value(QStringView key) const;
    // The whole text of key: a string with its escapes decoded (DecodeJsonText), a
    // scalar or block as written; empty when the item lacks it.
    QString text(QStringView key) const;
    // found[j] = find(keys[j]) for every j, in one pass over the fields: for readers
    // that want many keys of every item.
    void findAll(const QStringView *keys, qsizetype count, const ItemField **found) const;
};

// The value of a field by the list rules, and its whole text, as ListItem::value and
// ListItem::text give them; empty for nullptr.
QString FieldValue(const ItemField *field);
QString FieldText(const ItemField *field);
// FieldText, sharing `value` (FieldValue of the same field) when the two are the same
// text, as they are for most names and captions: one string held instead of two.
QString FieldTextLike(const ItemField *field, const QString &value);

// Calls visit with each item of every array that is the value of a key named in
// listKeys, in answer order, as ReadListItems would give them, holding one item at a
// time; reading ends early when visit returns false. The item is valid during the call.
using ItemVisitor = std::function<bool(const ListItem &item)>;
void VisitListItems(QStringView answer, const QList<QStringView> &listKeys, const ItemVisitor &visit);

// The items of every array that is the value of a key named in listKeys (at any depth,
// but not inside another list's item), in answer order: the objects among the array's
// elements (null and other scalars are passed over).
QList<ListItem> ReadListItems(QStringView answer, const QList<QStringView> &listKeys);

// Whether ReadListItems would give at least one item; stops at the first.
bool HasListItem(QStringView answer, const QList<QStringView> &listKeys);

// The keys of one block given with its braces (a field's token), as an item's.
ListItem ReadBlockFields(QStringView block);

// A string token's text with its JSON escapes decoded: \" \\ \/ \b \f \n \r \t and
// \uXXXX (pairs of UTF-16 units make one character); an escape that is none of those
// stays as written.
QString DecodeJsonText(QStringView token);

// A field's value by the list rules: the piece before its first comma, or the whole
// piece without its trailing blanks when it holds no comma (the last key of an item);
// every double quote removed. A value holding a comma is thus cut at it, and escapes
// stay as written.
QString ItemValue(QStringView piece);

} // namespace albivex

#pragma once

#include "qzone/ListItems.h"
#include "qzone/TextPool.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace albivex {

// The value rules the list readers (说说, 留言板) apply to one key of an item, so that
// every list reads a text, a number or a flag the same way:
// - a text is the string's whole text with its escapes decoded (DecodeJsonText); a
//   number, true or false as written; null, undefined or a block gives an empty text;
// - a number is the whole number the value (string or not) starts with, blanks aside;
//   none when it starts with none or does not fit;
// - a flag is set by true or a non-zero number (1, "1").
// A missing key (nullptr) reads as empty, none or unset.

QString ItemText(const ItemField *f);
// ItemText, for the values many items repeat: looked up in the pool before any copy.
QString ItemPooledText(const ItemField *f, TextPool &pool);
std::optional<qint64> ItemWholeNumber(const ItemField *f);
std::optional<int> ItemIntValue(const ItemField *f);
// ItemIntValue, else `missing`.
int ItemInt(const ItemField *f, int missing);
bool ItemFlag(const ItemField *f);
// The keys of a block value ({...}); none for any other value.
ListItem ItemBlock(const ItemField *f);
// Calls visit with each object of an array value ([...]), as the list reader gives
// them; nothing for any other value. The items view a copy made for the reading, so
// visit takes out what it keeps.
void VisitItemArray(const ItemField *f, const ItemVisitor &visit);
// The keys of the answer's outermost object (the first brace on, past any wrapper).
ListItem AnswerTopLevel(QStringView answer);

} // namespace albivex

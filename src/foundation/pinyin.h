#pragma once

// Pinyin short codes: the initials of a name ("主仓库" gives "ZCK"), which the master records
// keep in their *_jm columns so that a record can be found by typing a few Latin letters.
// No state, no database: one constant table indexed by code point.

#include <QString>

// The short code of a name: ASCII characters stay, every character of U+4E00..U+9FA5 gives the
// first initial of its first reading, any other character stays itself; then a-z become A-Z.
// The code is as long as the name (one character per character, surrogate pairs kept whole).
QString GetPYStr(const QString &text);

// The same; names are Unicode throughout, so no code-page round trip happens here (a character
// outside GBK keeps itself).
QString GetPY(const QString &text);

// The initials of the first character of `ch`: all of its entry (up to three letters) or, with
// firstOnly, the first; the text unchanged outside U+4E00..U+9FA5 or when its entry holds no
// letter; empty for an empty text.
QString GetPYChar(const QString &ch, bool firstOnly);

// The entry starting at the 1-based position `position` of the table: its first character and,
// without firstOnly, the following ones up to the first blank.
QString ReadPYEntry(int position, bool firstOnly);

// The raw table (62706 characters, three per code point), for checks.
const char *PinyinTable();
int PinyinTableLength();

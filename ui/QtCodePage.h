#pragma once

#include "runtime/CodePage.h"

#include <QString>
#include <QStringView>

#include <string>

// The one place where Qt's strings meet the core's code-page text (runtime/CodePage.h).
// A line break is CR LF in the core's text, whatever form it has inside Qt.

// Qt text to code-page text. Characters the code page cannot hold become "?", and the user is
// told which ones in a notice, so that nothing vanishes silently.
std::string ToCodePage(const QString& text);

// The same without telling the user, for text that is only compared (a lookup while typing).
std::string ToCodePageQuietly(const QString& text, CodePage codePage = SystemCodePage());

// Code-page text to Qt text; CR LF becomes Qt's line break "\n".
QString FromCodePage(const std::string& text);

// The length of `text`'s code-page form, without converting it: a line break counts two (CR LF), a
// character counts as many bytes as the code page gives it, one for a character it cannot hold ("?").
int CodePageLength(QStringView text, CodePage codePage = SystemCodePage());

// The position in `text` (Qt's units) of the character that stands at `codePagePosition` (counted
// from 0) in the text's code-page form, where a line break is two characters (CR LF) and a
// double-byte character two; a position past the end gives the end.
int QtPosition(const QString& text, int codePagePosition);

#pragma once

#include "runtime/CodePage.h"

#include <QObject>

#include <memory>

class QTextDocument;

// The length of a document's plain text in its code-page form, as ToCodePage makes it (a line
// break two characters, CR LF; a double-byte character two; a character the code page cannot hold
// one, "?"), kept up to date while the document is edited. An edit measures only the lines it
// touched, so a keystroke costs the same in a short and in a long text.
class TMessageLength : public QObject
{
public:
    // Lives as long as `document`, whose child it becomes.
    explicit TMessageLength(QTextDocument& document, CodePage codePage = SystemCodePage());

    int Length() const;

private:
    void Remeasure(int position, int charsAdded);

    QTextDocument& document_;
    CodePage codePage_;
    // The sum over the lines of how much longer each line is in the code page than in Qt's units;
    // shared with the lines, which take their share out when the document deletes them.
    std::shared_ptr<int> difference_;
};

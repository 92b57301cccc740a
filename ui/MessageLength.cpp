#include "ui/MessageLength.h"

#include "ui/QtCodePage.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

// A line's share of the difference, held by the line itself: when lines are joined or the text is
// replaced, the document deletes the lines' data, and their shares leave the sum.
class LineDifference : public QTextBlockUserData
{
public:
    explicit LineDifference(std::shared_ptr<int> sum) : sum_(std::move(sum)) {}
    ~LineDifference() override { *sum_ -= value_; }

    void Set(int value)
    {
        *sum_ += value - value_;
        value_ = value;
    }

private:
    std::shared_ptr<int> sum_;
    int value_ = 0;
};

} // namespace

TMessageLength::TMessageLength(QTextDocument& document, CodePage codePage)
    : QObject(&document), document_(document), codePage_(codePage), difference_(std::make_shared<int>(0))
{
    connect(&document, &QTextDocument::contentsChange, this,
            [this](int position, int, int charsAdded) { Remeasure(position, charsAdded); });
    Remeasure(0, document.characterCount());
}

// characterCount() holds the lines' characters and one separator after each line, the last included.
int TMessageLength::Length() const
{
    const int lineBreaks = document_.blockCount() - 1;
    return document_.characterCount() - 1 + lineBreaks + *difference_;
}

// Measures the lines from the one holding `position` to the one holding `position + charsAdded`:
// after an edit, those are the lines whose text changed, the new ones included.
void TMessageLength::Remeasure(int position, int charsAdded)
{
    for (QTextBlock line = document_.findBlock(position);
         line.isValid() && line.position() <= position + charsAdded; line = line.next()) {
        auto* difference = static_cast<LineDifference*>(line.userData());
        if (!difference) {
            difference = new LineDifference(difference_);
            line.setUserData(difference);
        }
        const QString text = line.text();
        difference->Set(CodePageLength(text, codePage_) - static_cast<int>(text.size()));
    }
}

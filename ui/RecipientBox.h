#pragma once

#include <QCollator>
#include <QObject>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;

// The list and the inline completion of the recipient box. The entries are sorted with a German,
// case-insensitive collation, the empty entry first and equal names kept in the order they came.
// While the user types at the end of the text, the first entry in list order that begins with the
// typed text (ignoring case) becomes the text and the selected entry, its remainder highlighted;
// text that begins no entry stays as typed and selects none. Backspace and Delete complete nothing.
// Edited() tells that the user changed the text, unless typing only went on along the entry that
// was already selected; changes made through the functions below emit nothing.
class TRecipientBox : public QObject
{
    Q_OBJECT

public:
    explicit TRecipientBox(QComboBox* box);

    std::string Text() const;
    // Sets the text; the selected entry becomes the first entry equal to it, or none.
    void SetText(const std::string& text);
    void AddEntries(const std::vector<std::string>& names);
    // Removes the selected entry, when there is one; the text stays.
    void DeleteSelectedEntry();
    void SelectEntry(int index);
    // Removes every entry and the text.
    void Clear();

signals:
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextEdited(const QString& typed);
    int FirstEntryStartingWith(const QString& typed) const;
    // Selects `index` (-1: none) and keeps `text` with the caret at `cursor`.
    void SelectKeepingText(int index, const QString& text, int cursor);

    QComboBox* box_;
    QCollator collator_;
    // The entries as the box lists them, to search them without going through the model.
    QStringList entries_;
    // The key being pressed deletes (Backspace, Delete), so the edit it makes is not completed.
    bool deleting_ = false;
};

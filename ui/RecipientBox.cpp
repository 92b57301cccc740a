#include "ui/RecipientBox.h"

#include "ui/QtCodePage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

TRecipientBox::TRecipientBox(QComboBox* box) : QObject(box), box_(box), collator_(QLocale(QLocale::German))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    box_->setCompleter(nullptr);
    box_->installEventFilter(this);
    box_->lineEdit()->installEventFilter(this);
    connect(box_->lineEdit(), &QLineEdit::textEdited, this, &TRecipientBox::TextEdited);
    connect(box_, &QComboBox::activated, this, &TRecipientBox::Edited);
}

std::string TRecipientBox::Text() const
{
    return ToCodePage(box_->currentText());
}

void TRecipientBox::SetText(const std::string& text)
{
    const QString shown = FromCodePage(text);
    SelectKeepingText(int(entries_.indexOf(shown)), shown, int(shown.size()));
}

void TRecipientBox::AddEntries(const std::vector<std::string>& names)
{
    struct Entry
    {
        QCollatorSortKey Key;
        QString Text;
        bool Selected;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(entries_.size()) + names.size());
    for (int i = 0; i < entries_.size(); ++i)
        entries.push_back({collator_.sortKey(entries_[i]), entries_[i], i == box_->currentIndex()});
    for (const std::string& name : names) {
        const QString text = FromCodePage(name);
        entries.push_back({collator_.sortKey(text), text, false});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.Key.compare(b.Key) < 0; });

    const QString text = box_->currentText();
    const int cursor = box_->lineEdit()->cursorPosition();
    int selected = -1;
    entries_.clear();
    for (const Entry& entry : entries) {
        if (entry.Selected) selected = int(entries_.size());
        entries_.append(entry.Text);
    }
    box_->clear();
    box_->addItems(entries_);
    SelectKeepingText(selected, text, cursor);
}

void TRecipientBox::DeleteSelectedEntry()
{
    const int selected = box_->currentIndex();
    if (selected < 0) return;
    const QString text = box_->currentText();
    const int cursor = box_->lineEdit()->cursorPosition();
    SelectKeepingText(-1, text, cursor);
    box_->removeItem(selected);
    entries_.removeAt(selected);
}

void TRecipientBox::SelectEntry(int index)
{
    box_->setCurrentIndex(index);
}

void TRecipientBox::Clear()
{
    box_->clear();
    entries_.clear();
    box_->clearEditText();
}

bool TRecipientBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        deleting_ = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return QObject::eventFilter(watched, event);
}

void TRecipientBox::TextEdited(const QString& typed)
{
    QLineEdit* edit = box_->lineEdit();
    const bool completes = !deleting_ && !typed.isEmpty() && edit->cursorPosition() == typed.size();
    deleting_ = false;
    const int match = completes ? FirstEntryStartingWith(typed) : -1;
    const bool selectionChanged = match != box_->currentIndex();
    if (match < 0) {
        SelectKeepingText(-1, typed, edit->cursorPosition());
        emit Edited();
        return;
    }
    box_->setCurrentIndex(match);
    edit->setSelection(int(typed.size()), int(entries_[match].size() - typed.size()));
    if (selectionChanged) emit Edited();
}

int TRecipientBox::FirstEntryStartingWith(const QString& typed) const
{
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].startsWith(typed, Qt::CaseInsensitive)) return i;
    return -1;
}

void TRecipientBox::SelectKeepingText(int index, const QString& text, int cursor)
{
    if (box_->currentIndex() != index) box_->setCurrentIndex(index);
    if (box_->currentText() != text) box_->setEditText(text);
    box_->lineEdit()->setCursorPosition(cursor);
}

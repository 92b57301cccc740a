#pragma once

#include "tests/support/FileBytes.h"
#include "ui/ErrorGuard.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

// The child of `parent` named `name`; a test that misses it ends at once.
template <class T> T* FindControl(const QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

// A temporary program folder with its own user.ini.
class TestProgramFolder
{
public:
    explicit TestProgramFolder(const QByteArray& userIni = {})
    {
        if (!userIni.isEmpty()) Write("user.ini", userIni);
    }
    std::string Path() const { return dir_.path().toStdString() + "/"; }
    // The bytes of the file `name` in the folder, empty when it cannot be read.
    QByteArray Read(const std::string& name) const
    {
        return QByteArray::fromStdString(ReadBytes(Path() + name));
    }
    void Write(const std::string& name, const QByteArray& bytes) const
    {
        WriteBytes(Path() + name, bytes.toStdString());
    }

private:
    QTemporaryDir dir_;
};

// Records the texts of the message boxes instead of showing them, while it lives.
class CapturedMessages
{
public:
    CapturedMessages()
        : previous_(SetMessageSink([this](MessageKind kind, const QString& text) {
              messages_.append({kind, text});
          }))
    {
    }
    ~CapturedMessages() { SetMessageSink(std::move(previous_)); }
    const QList<QPair<MessageKind, QString>>& Messages() const { return messages_; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const auto& [kind, text] : messages_) texts << text;
        return texts;
    }

private:
    QList<QPair<MessageKind, QString>> messages_;
    MessageSink previous_;
};

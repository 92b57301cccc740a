#pragma once

#include "ui/ErrorGuard.h"

#include <QFile>
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
        if (userIni.isEmpty()) return;
        QFile file(dir_.filePath(QStringLiteral("user.ini")));
        if (file.open(QIODevice::WriteOnly)) file.write(userIni);
    }
    std::string Path() const { return dir_.path().toStdString() + "/"; }

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

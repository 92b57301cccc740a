#pragma once

#include "ui/ErrorGuard.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QTemporaryDir>

#include <string>

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

private:
    QList<QPair<MessageKind, QString>> messages_;
    MessageSink previous_;
};

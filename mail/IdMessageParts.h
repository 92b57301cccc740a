#pragma once

#include "mail/IdHeaderList.h"

#include <memory>
#include <vector>

// A part of a multipart message. The program itself never builds one; the message writer only
// counts them (text parts, attachments, attachments with a "Content-ID" line).
class TIdMessagePart
{
public:
    virtual ~TIdMessagePart() = default;
    TIdHeaderList& ExtraHeaders() { return extraHeaders_; }
    const TIdHeaderList& ExtraHeaders() const { return extraHeaders_; }

private:
    TIdHeaderList extraHeaders_;
};

class TIdText : public TIdMessagePart
{
};

class TIdAttachment : public TIdMessagePart
{
};

using TIdMessageParts = std::vector<std::unique_ptr<TIdMessagePart>>;

#include "mail/IdComponent.h"

#include "mail/IdStack.h"
#include "mail/MailMessages.h"
#include "runtime/CodePage.h"

namespace {

int GLiveComponents = 0;

const char* StatusFormat(TIdStatus status)
{
    switch (status) {
    case statusResolving:
        return MailMessages::ResolvingStatus;
    case statusConnecting:
        return MailMessages::ConnectingStatus;
    case statusConnected:
        return MailMessages::ConnectedStatus;
    case statusDisconnecting:
        return MailMessages::DisconnectingStatus;
    case statusDisconnected:
        return MailMessages::DisconnectedStatus;
    case statusText:
        return "%s";
    }
    return "%s";
}

std::string FormatStatus(TIdStatus status, const std::string& argument)
{
    std::string text = StatusFormat(status);
    if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, CodePageToUtf8(argument));
    return text;
}

} // namespace

TIdComponent::TIdComponent()
{
    if (GLiveComponents++ == 0) StartSocketLayer();
}

TIdComponent::~TIdComponent()
{
    if (--GLiveComponents == 0) StopSocketLayer();
}

void TIdComponent::BeginProgress(TWorkMode mode, int max)
{
    Progress& progress = progress_[mode];
    if (++progress.level != 1) return;
    progress.max = max;
    progress.position = 0;
    if (OnWorkBegin) OnWorkBegin(*this, mode, max);
}

void TIdComponent::ReportProgress(TWorkMode mode, int count)
{
    Progress& progress = progress_[mode];
    if (progress.level < 1) return;
    progress.position += count;
    if (OnWork) OnWork(*this, mode, progress.position);
}

void TIdComponent::EndProgress(TWorkMode mode)
{
    Progress& progress = progress_[mode];
    if (progress.level == 1 && OnWorkEnd) OnWorkEnd(*this, mode);
    --progress.level;
}

void TIdComponent::ReportStatus(TIdStatus status, const std::string& argument)
{
    if (OnStatus) OnStatus(*this, status, FormatStatus(status, argument));
}

std::string TIdComponent::LocalHostName()
{
    return SocketLayer().LocalHostName();
}

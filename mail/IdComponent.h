#pragma once

#include <functional>
#include <string>

enum TWorkMode { workReading = 0, workWriting = 1 };

enum TIdStatus {
    statusResolving = 0,
    statusConnecting = 1,
    statusConnected = 2,
    statusDisconnecting = 3,
    statusDisconnected = 4,
    statusText = 5
};

class TIdComponent;

using TNotifyEvent = std::function<void(TIdComponent& sender)>;
using TWorkEvent = std::function<void(TIdComponent& sender, TWorkMode workMode, int workCount)>;
using TWorkBeginEvent = std::function<void(TIdComponent& sender, TWorkMode workMode, int workCountMax)>;
using TWorkEndEvent = std::function<void(TIdComponent& sender, TWorkMode workMode)>;
using TIdStatusEvent =
    std::function<void(TIdComponent& sender, TIdStatus status, const std::string& statusText)>;

// Base of the network components: progress brackets and status reports. The first live component
// starts the socket layer, the last one to go stops it (one thread uses them; no locking).
class TIdComponent
{
public:
    TIdComponent();
    virtual ~TIdComponent();
    TIdComponent(const TIdComponent&) = delete;
    TIdComponent& operator=(const TIdComponent&) = delete;

    TWorkEvent OnWork;
    TWorkBeginEvent OnWorkBegin;
    TWorkEndEvent OnWorkEnd;
    // Status texts are UTF-8.
    TIdStatusEvent OnStatus;

    // Brackets of progress per mode nest; only the outermost fires OnWorkBegin and OnWorkEnd, and
    // OnWork reports the bytes counted since the outermost bracket opened. Every BeginProgress is
    // paired with one EndProgress by its caller.
    virtual void BeginProgress(TWorkMode mode, int max = 0);
    virtual void ReportProgress(TWorkMode mode, int count);
    virtual void EndProgress(TWorkMode mode);

    // Fires OnStatus with the status's German text, `argument` (code-page text) in place of %s.
    void ReportStatus(TIdStatus status, const std::string& argument = {});
    std::string LocalHostName();

private:
    struct Progress
    {
        int level = 0;
        int max = 0;
        int position = 0;
    };
    Progress progress_[2];
};

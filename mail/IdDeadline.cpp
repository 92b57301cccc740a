#include "mail/IdDeadline.h"

#include "mail/IdStack.h"

TIdDeadline::TIdDeadline(int timeoutMs)
{
    if (timeoutMs != WaitForever) end_ = Clock::now() + std::chrono::milliseconds(timeoutMs);
}

int TIdDeadline::RemainingMs() const
{
    if (!end_) return WaitForever;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*end_ - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

#pragma once

#include "mail/IdComponent.h"

#include <string>
#include <vector>

// Records every progress and status event of a component as one line of text: "begin <mode>
// <max>", "work <mode> <count>", "end <mode>" and "<status> <text>".
struct EventLog
{
    explicit EventLog(TIdComponent& component)
    {
        component.OnWorkBegin = [this](TIdComponent&, TWorkMode m, int max) { Add("begin", m, max); };
        component.OnWork = [this](TIdComponent&, TWorkMode m, int count) { Add("work", m, count); };
        component.OnWorkEnd = [this](TIdComponent&, TWorkMode m) {
            events.push_back("end " + std::to_string(m));
        };
        component.OnStatus = [this](TIdComponent&, TIdStatus s, const std::string& text) {
            events.push_back(std::to_string(s) + " " + text);
        };
    }
    void Add(const char* what, TWorkMode mode, int n)
    {
        events.push_back(std::string(what) + " " + std::to_string(mode) + " " + std::to_string(n));
    }
    std::vector<std::string> events;
};

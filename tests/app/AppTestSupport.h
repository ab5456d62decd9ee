// Helpers for the application-frame tests: an application whose main routine is a lambda.
#pragma once

#include <pyro/app/Application.h>

#include <functional>

// Every window in a test process uses this one class: the class is registered once per process.
constexpr const char* kTestClass = "PYROTEST";

class TestApp : public CApplication {
public:
    std::function<void(TestApp&)> body;
    int initResult = 0;
    int preCloseResult = 0;

    int OnInit(CWindowOption& options) override
    {
        options.caption = "test";
        options.className = kTestClass;
        options.sizeX = 160;
        options.sizeY = 120;
        options.style = 0x00CA0000;
        return initResult;
    }
    int OnPreClose() override { return preCloseResult; }
    void MainThread() override
    {
        if (body) body(*this);
        else CApplication::MainThread();
    }
};

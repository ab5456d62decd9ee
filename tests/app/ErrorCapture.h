// Collects what the error log is given while the object lives; shared by the tests of every
// module that reports to the log.
#pragma once

#include <pyro/app/ErrorLog.h>

#include <string>
#include <vector>

class ErrorCapture {
public:
    ErrorCapture() { previous_ = CErrorLog::SetSink(&Collect, &messages); }
    ~ErrorCapture() { CErrorLog::SetSink(previous_); }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    std::vector<std::string> messages;

private:
    static void Collect(const char* text, void* context)
    {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }
    CErrorLog::Sink previous_;
};

// Captures the "TORVIS: " diagnostic prints of one test.
#pragma once

#include <cstdio>
#include <string>

#include "sg/sgRuntime.h"

class DiagnosticCapture {
public:
    DiagnosticCapture() : file_(std::tmpfile()) { setDiagnosticStream(file_); }
    ~DiagnosticCapture() {
        setDiagnosticStream(nullptr);
        if (file_) std::fclose(file_);
    }
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

    // Everything printed so far; the capture starts over.
    std::string take() {
        std::string text;
        if (!file_) return text;
        std::fflush(file_);
        std::rewind(file_);
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) text.append(buf, n);
        std::fclose(file_);
        file_ = std::tmpfile();
        setDiagnosticStream(file_);
        return text;
    }

private:
    FILE* file_;
};

// Text a test captures: the "TORVIS: " diagnostic prints, and what an
// object's write puts in a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sg/sgRuntime.h"

// Collects the diagnostic prints while it lives.
class DiagnosticLog {
public:
    DiagnosticLog() : file_(std::tmpfile()) { setDiagnosticStream(file_); }
    ~DiagnosticLog() {
        setDiagnosticStream(nullptr);
        if (file_) std::fclose(file_);
    }
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Everything printed so far.
    std::string text() {
        std::string out;
        if (!file_) return out;
        std::fflush(file_);
        std::rewind(file_);
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
        return out;
    }
    // Everything printed so far; the log starts over.
    std::string take() {
        if (!file_) return std::string();
        std::string out = text();
        std::fclose(file_);
        file_ = std::tmpfile();
        setDiagnosticStream(file_);
        return out;
    }

private:
    FILE* file_;
};

// The text obj.write(f, convertPaths) writes, and its result.
template <class Object>
std::string writtenBy(Object& obj, int convertPaths = 0, int* result = nullptr) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    int r = obj.write(f, convertPaths);
    std::fclose(f);
    std::string text(buf ? buf : "", len);
    std::free(buf);
    if (result) *result = r;
    return text;
}

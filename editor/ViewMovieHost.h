// The movie writers' host inside the view: message boxes and the compressor
// choice go to the view's host, and what happened is remembered so the view
// can tell a cancel from a failure the writer has not reported.
#pragma once

#include "editor/CViewHost.h"
#include "export/CMovieHost.h"

class ViewMovieHost : public CMovieHost {
public:
    explicit ViewMovieHost(CViewHost* host) : m_host(host) {}
    int MessageBox(const std::string& text, const std::string& caption, int style) override {
        ++messages;
        // Without windows a question is answered No: nothing doubtful is loaded.
        return m_host ? m_host->MessageBox(text, caption, style) : MOVIE_IDNO;
    }
    bool ChooseAviCompressor(AviCompressOptions& options) override {
        canceled = !(m_host && m_host->ChooseAviCompressor(options));
        return !canceled;
    }
    void Forget() {
        messages = 0;
        canceled = false;
    }
    int messages = 0;
    bool canceled = false;

private:
    CViewHost* m_host;
};

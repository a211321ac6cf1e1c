#include "app/CWxProfile.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>

#include <cstdint>
#include <cstdlib>

namespace {
wxString key(const std::string& section, const std::string& entry) {
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(entry);
}
}  // namespace

std::string CWxProfile::DefaultFileName() {
    std::string dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') {
        dir = xdg;
    } else {
        const char* home = std::getenv("HOME");
        dir = std::string(home && *home ? home : ".") + "/.config";
    }
    return dir + "/kelvano/kelvano.conf";
}

CWxProfile::CWxProfile(const std::string& fileName) : m_fileName(fileName) {
    const wxString name = wxString::FromUTF8(fileName);
    {
        // A folder that cannot be made is reported once by the program.
        wxLogNull quiet;
        wxFileName::Mkdir(wxFileName(name).GetPath(), 0700, wxPATH_MKDIR_FULL);
    }
    m_config = std::make_unique<wxFileConfig>("Kelvano", wxEmptyString, name, wxEmptyString,
                                              wxCONFIG_USE_LOCAL_FILE);
    // Values are stored as written; '%' and the like are not environment variables.
    m_config->SetExpandEnvVars(false);
}

CWxProfile::~CWxProfile() {
    Flush();
    // The file object writes once more when it goes; where it cannot, that is
    // no news to the user.
    wxLogNull quiet;
    m_config.reset();
}

int CWxProfile::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    long value = defaultValue;
    // A value that is not a number reads as the default.
    if (!m_config->Read(key(section, entry), &value, defaultValue)) return defaultValue;
    if (value < INT32_MIN || value > INT32_MAX) return defaultValue;
    return static_cast<int>(value);
}

void CWxProfile::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    m_config->Write(key(section, entry), static_cast<long>(value));
}

std::string CWxProfile::GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue) {
    wxString value;
    if (!m_config->Read(key(section, entry), &value)) return defaultValue;
    return value.ToStdString(wxConvUTF8);
}

void CWxProfile::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    m_config->Write(key(section, entry), wxString::FromUTF8(value));
}

bool CWxProfile::Flush() {
    if (!m_config || !m_bWritable) return false;
    // A failure is the caller's to report, not a log box at exit.
    wxLogNull quiet;
    return m_config->Flush();
}

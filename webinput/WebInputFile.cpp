#include "webinput/WebInputFile.h"

#include "framework/WholeFile.h"
#include "text/EncodingCodePage.h"

bool LoadWebInputFile(const std::wstring& path, WebInputSettings& settings) {
    settings.Clear();
    settings.Encoding = TextEncoding::Ansi;
    std::string bytes;
    if (path.empty() || AfxReadWholeFile(path.c_str(), bytes) != ERROR_SUCCESS) return false;
    const FileEncoding encoding = DetectFileEncoding(bytes);
    std::string converted;
    const bool stored = settings.LoadText(FileText(bytes, encoding, converted), LeadBytesOf(encoding.Encoding));
    settings.Encoding = encoding.Encoding;
    return stored;
}

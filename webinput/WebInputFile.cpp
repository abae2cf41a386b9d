#include "webinput/WebInputFile.h"

#include "framework/WholeFile.h"
#include "text/EncodingCodePage.h"

bool LoadWebInputFile(const std::string& path, WebInputSettings& settings) {
    settings.Clear();
    settings.Encoding = TextEncoding::Ansi;
    std::string bytes;
    if (path.empty() || AfxReadWholeFile(path.c_str(), bytes) != ERROR_SUCCESS) return false;
    const FileEncoding encoding = DetectFileEncoding(bytes);
    const bool stored = settings.LoadText(TextAfterByteOrderMark(bytes, encoding), LeadBytesOf(encoding.Encoding));
    settings.Encoding = encoding.Encoding;
    return stored;
}

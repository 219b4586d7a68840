#include "support/PayloadList.h"

#include <sstream>
#include "common/PathText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

using namespace tessel::common;

std::map<uint32_t, std::wstring> ReadPayloadList() {
    std::map<uint32_t, std::wstring> list;
    std::string bytes;
    if (ReadFileBytes(TESSEL_SOURCE_DIR L"\\payload\\manifest.txt", bytes, FILE_SHARE_READ) != 0) return list;
    std::istringstream in(bytes);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        uint32_t id = 0;
        std::string path;
        if (!(fields >> id >> path)) continue;
        std::wstring wide = FromAnsi(path);
        for (wchar_t& c : wide)
            if (c == L'/') c = L'\\';
        list[id] = wide;
    }
    return list;
}

std::wstring PayloadSourcePath(const std::wstring& relative) {
    return JoinPath(TESSEL_SOURCE_DIR L"\\payload", relative);
}

// Pure text and byte rules of the install actions.
#include "changes/ActionLogic.h"

#include "common/PathText.h"

namespace tessel::changes {

using namespace tessel::common;

std::wstring PathPrefixOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring QuoteIfBlank(const std::wstring& text) {
    if (text.find(L' ') == std::wstring::npos) return text;
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') return text;
    return L"\"" + text + L"\"";
}

std::string AppendedLineBytes(const std::string& content, const std::string& text) {
    std::string line = text + "\r\n";
    const bool fileEndsInBreak = content.size() >= 2 && content.compare(content.size() - 2, 2, "\r\n") == 0;
    if (fileEndsInBreak && line.compare(0, 2, "\r\n") == 0) line.erase(0, 2);
    return line;
}

bool ReplaceFirstBytes(const std::string& content, const std::string& lowerContent, const std::string& lowerFind,
                       const std::string& replacement, std::string& result) {
    const size_t start = lowerFind.empty() ? std::string::npos : lowerContent.find(lowerFind);
    if (start == std::string::npos) return false;
    const size_t after = start + lowerFind.size();
    result = content.substr(0, start) + replacement + (after < content.size() ? content.substr(after) : std::string());
    return true;
}

bool IsVersionNewer(uint32_t ms, uint32_t ls, uint32_t oldMs, uint32_t oldLs) {
    return ms > oldMs || (ms == oldMs && ls > oldLs);
}

std::wstring CompileCommandLine(const std::wstring& tool, bool isMake, const std::wstring& project) {
    const std::wstring program = QuoteIfBlank(tool);
    return isMake ? program + L" /f" + project : program + L" " + project;
}

bool PathIsInside(const std::wstring& folder, const std::wstring& file) {
    std::wstring base = folder;
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    if (base.empty()) return false;
    return file.size() > base.size() + 1 && file.compare(0, base.size(), base) == 0 && file[base.size()] == L'\\';
}

}  // namespace tessel::changes

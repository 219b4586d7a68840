// Splits command lines into words the way CommandLineToArgvW does.
#include "common/CommandLineWords.h"

#include <windows.h>

namespace tessel::common {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> words;
    const size_t n = commandLine.size();
    size_t i = 0;
    // The program's name: no escapes; quoted, it ends at the closing quote.
    std::wstring name;
    if (n > 0 && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        name = commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
        i = close == std::wstring::npos ? n : close + 1;
    } else {
        while (i < n && !IsBlank(commandLine[i])) ++i;
        name = commandLine.substr(0, i);
    }
    words.push_back(name);
    for (;;) {
        while (i < n && IsBlank(commandLine[i])) ++i;
        if (i >= n) break;
        std::wstring word;
        // 1 inside a quoted part, 0 outside (a closed part counts back to 0).
        unsigned quotes = 0;
        size_t backslashes = 0;
        for (; i < n; ++i) {
            const wchar_t c = commandLine[i];
            if (c == L'\\') {
                word += c;
                ++backslashes;
                continue;
            }
            if (c == L'"') {
                // The run of backslashes before it is halved; an odd one
                // escapes the quote, an even one leaves it opening or closing.
                word.resize(word.size() - backslashes / 2);
                if (backslashes % 2 == 1) {
                    word.back() = L'"';
                } else {
                    ++quotes;
                }
                backslashes = 0;
                // Further quotes right after it: every third one of the run
                // (counting the opening one) is literal, as CommandLineToArgvW does.
                while (i + 1 < n && commandLine[i + 1] == L'"') {
                    ++i;
                    if (++quotes == 3) {
                        word += L'"';
                        quotes = 0;
                    }
                }
                if (quotes == 2) quotes = 0;
                continue;
            }
            backslashes = 0;
            if (quotes == 0 && IsBlank(c)) break;
            word += c;
        }
        words.push_back(word);
    }
    return words;
}

std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> words = SplitCommandLine(GetCommandLineW());
    words.erase(words.begin());
    return words;
}

}  // namespace tessel::common

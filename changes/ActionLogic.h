// Pure text and byte rules of the changes: help-file and text patching, version order and command lines.
// No Win32 calls, so the tests check them directly.
#pragma once
#include <cstdint>
#include <string>

namespace tessel::changes {

// Everything up to and including the last "\" (empty when there is none).
std::wstring PathPrefixOf(const std::wstring& path);

// Encloses text in double quotes when it holds a blank and is not quoted yet.
std::wstring QuoteIfBlank(const std::wstring& text);

// The bytes to write at the end of a help-configuration file so that text
// becomes its own line ending in CR LF. When the file already ends in CR LF
// and text begins with CR LF, the leading CR LF is dropped.
std::string AppendedLineBytes(const std::string& content, const std::string& text);

// Replaces the first occurrence of find in content, searching case-blind:
// position from lowerContent/lowerFind (content and find lower-cased the same
// way, byte for byte). False when there is nothing to replace.
bool ReplaceFirstBytes(const std::string& content, const std::string& lowerContent, const std::string& lowerFind,
                       const std::string& replacement, std::string& result);

// True when version (ms, ls) is greater than (oldMs, oldLs), most significant part first.
bool IsVersionNewer(uint32_t ms, uint32_t ls, uint32_t oldMs, uint32_t oldLs);

// The compiler's command line: the tool (quoted when its path holds a blank),
// then the project. make gets "/f" glued to the project file name.
std::wstring CompileCommandLine(const std::wstring& tool, bool isMake, const std::wstring& project);

// True when file lies below folder (both full paths compared as given; the caller
// lower-cases them). A trailing "\" on folder is allowed.
bool PathIsInside(const std::wstring& folder, const std::wstring& file);

}  // namespace tessel::changes

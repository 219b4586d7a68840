// Writes an undo log from a list of rows with the product's own writer, for
// tests that need a log as an install would leave it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "common/UnDo.h"
#include "common/UScriptKinds.h"

struct TLogRow {
    uint32_t Word0;
    uint32_t Param;
    uint32_t Location;
    std::wstring Text;
};

// The information block of a log as the script writes it (codes 1, 2, 4, 5, 7, 6).
inline std::vector<TLogRow> ProductInfoRows(const std::wstring& installDir, bool withDirection = true) {
    std::vector<TLogRow> rows = {
        {skInfo | sfUndo, infoProductName, 0, L"Tessel library"},
        {skInfo | sfUndo, infoProductVersion, 0, L"4.09"},
        {skInfo | sfUndo, infoInstallDir, 0, installDir},
        {skInfo | sfUndo, infoProductRegKey, 0, L"Software\\Veltrane\\Tessel library"},
        {skInfo | sfUndo, infoProductIntName, 0, L"qvlLib"},
    };
    if (withDirection) rows.push_back({skInfo | sfUndo, infoDirection, 0, L""});
    return rows;
}

// rows followed by more.
inline std::vector<TLogRow> With(std::vector<TLogRow> rows, const std::vector<TLogRow>& more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

// Creates dir\uninst.log holding rows; false when it cannot be created.
inline bool WriteUndoLogFile(const std::wstring& dir, const std::vector<TLogRow>& rows) {
    UniqueFile log;
    if (OpenUndoLog(dir, log) != 0) return false;
    for (const auto& row : rows) WriteUndoRecord(log, row.Word0, row.Param, row.Location, row.Text);
    CloseUndoLog(log);
    return true;
}

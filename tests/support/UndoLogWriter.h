// Writes an undo log from a list of rows with the product's own writer, for
// tests that need a log as an install would leave it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "common/UndoLog.h"
#include "common/RowKinds.h"
#include "common/TextConversion.h"

using namespace tessel::common;
using namespace tessel::changes;  // test support: the product names unqualified

struct LogRow {
    uint32_t Word0;
    uint32_t Param;
    uint32_t Location;
    std::wstring Text;
};

// The information block of a log as the script writes it (codes 1, 2, 4, 5, 7, 6).
inline std::vector<LogRow> ProductInfoRows(const std::wstring& installDir, bool withDirection = true) {
    std::vector<LogRow> rows = {
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductName), 0, L"Tessel library"},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductVersion), 0, L"4.09"},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::InstallDir), 0, installDir},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductRegKey), 0, L"Software\\Veltrane\\Tessel library"},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductIntName), 0, L"qvlLib"},
    };
    if (withDirection) rows.push_back({RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::Direction), 0, L""});
    return rows;
}

// Three change records to watch a walk by: a folder, an IDE switch (a kind
// without status text) and the registry key keyName, which a partial uninstall
// keeps. Walked backward, the key comes first and the folder last.
inline std::vector<LogRow> WatchedWalkRows(const std::wstring& keyName) {
    return {
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"a"},
        {RowKind::SetIde | RowFlag::Undo, 7, 0, L"Delphi6"},
        {RowKind::CreateRegKey | RowFlag::Undo | RowFlag::KeepOnPartial, 0x80000002u, 0, keyName},
    };
}

// The bytes rows take up in a log: the total a walk over them reports.
inline size_t LogBytes(const std::vector<LogRow>& rows) {
    size_t bytes = 0;
    for (const auto& row : rows) bytes += UndoRecordOverhead + ToUtf8(row.Text).size();
    return bytes;
}

// rows followed by more.
inline std::vector<LogRow> With(std::vector<LogRow> rows, const std::vector<LogRow>& more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

// Creates dir\uninst.log holding rows; false when it cannot be created.
inline bool WriteUndoLogFile(const std::wstring& dir, const std::vector<LogRow>& rows) {
    UniqueFile log;
    if (OpenUndoLog(dir, log) != 0) return false;
    for (const auto& row : rows)
        if (WriteUndoRecord(log, row.Word0, row.Param, row.Location, row.Text) != 0) return false;
    CloseUndoLog(log);
    return true;
}

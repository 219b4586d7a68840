// The script runner: steps the install script one row at a time for the
// progress page, and owns "install.log" and the undo log while it runs.
#pragma once
#include <cstdint>
#include <string>
#include "common/UHandles.h"
#include "script/UScriptItems.h"

class TScript {
public:
    TScript();            // Create
    virtual ~TScript();   // Destroy: calls Stop
    TScript(const TScript&) = delete;
    TScript& operator=(const TScript&) = delete;

    int Start();                          // removes an earlier installation, opens both logs; 0
    int Count() const;                    // number of rows
    int ProgressCount() const;            // = Count()
    void ItemText(std::wstring& caption) const;
    int ItemDoScript();                   // runs row FCurrent; 0 or the action's error code
    int ItemProgressStep() const { return 1; }
    void Stop();                          // closes both logs

    int32_t FCurrent = 0;                 // advanced by the caller
    const std::wstring& LogText() const { return FLogText; }
    const TScriptItem& GetItem() const;

private:
    int32_t FSkipTypeId = 0;
    int32_t FSkipCode = 0;
    std::wstring FLogText;
    UniqueFile FLogHandle;
    bool FLogEnable = true;
    UniqueFile FBinLogHandle;
    friend struct TScriptAccess;          // the actions work on the runner's state
};

// Payload resources: found, loaded and written out.
#include "common/Payload.h"

#include "common/ProcessGlobals.h"
#include "common/WholeFile.h"

namespace tessel::common {

DWORD LoadPayload(unsigned id, const void*& data, DWORD& size) {
    data = nullptr;
    size = 0;
    // Resource type names compare without regard to case: this finds "QVLIB".
    HRSRC res = FindResourceW(PayloadModule, MAKEINTRESOURCEW(id), L"qvlib");
    if (!res) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    HGLOBAL loaded = LoadResource(PayloadModule, res);
    if (!loaded) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    const void* bytes = LockResource(loaded);
    if (!bytes) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    data = bytes;
    size = SizeofResource(PayloadModule, res);
    return 0;
}

DWORD SaveResourceToFile(unsigned id, const std::wstring& fileName) {
    const void* data = nullptr;
    DWORD size = 0;
    if (const DWORD err = LoadPayload(id, data, size)) return err;
    return WriteFileBytes(fileName, data, size);
}

}  // namespace tessel::common

// Walks a PE image as a file (headers, section table, resource tree) to its
// version resource. Every read is checked against the image's size: the
// installed file it is used on can be anything.
#include "common/VersionResource.h"

#include <cstring>

#include "common/WholeFile.h"

namespace tessel::common {

namespace {

constexpr uint32_t VersionType = 16;  // RT_VERSION
constexpr uint32_t FixedInfoSignature = 0xFEEF04BD;

class Image {
public:
    Image(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}

    bool Has(size_t offset, size_t length) const { return data_ && offset <= size_ && length <= size_ - offset; }
    bool U16(size_t offset, uint32_t& value) const {
        if (!Has(offset, 2)) return false;
        value = data_[offset] | (uint32_t(data_[offset + 1]) << 8);
        return true;
    }
    bool U32(size_t offset, uint32_t& value) const {
        uint32_t low = 0, high = 0;
        if (!U16(offset, low) || !U16(offset + 2, high)) return false;
        value = low | (high << 16);
        return true;
    }
    const unsigned char* At(size_t offset) const { return data_ + offset; }

private:
    const unsigned char* data_;
    size_t size_;
};

struct Sections {
    size_t Table = 0;  // file offset of the first section header
    uint32_t Count = 0;
};

// The file offset of length bytes at rva: inside one section's raw data.
bool RvaToOffset(const Image& image, const Sections& sections, uint32_t rva, uint32_t length, size_t& offset) {
    for (uint32_t i = 0; i < sections.Count; ++i) {
        const size_t header = sections.Table + size_t(i) * 40;
        uint32_t address = 0, rawSize = 0, rawOffset = 0;
        if (!image.U32(header + 12, address) || !image.U32(header + 16, rawSize) || !image.U32(header + 20, rawOffset))
            return false;
        if (rva < address || rva - address > rawSize || length > rawSize - (rva - address)) continue;
        offset = size_t(rawOffset) + (rva - address);
        return image.Has(offset, length);
    }
    return false;
}

// One entry of a resource directory at dir (an offset into the image): the
// entry named id, or the first entry when id is 0. Its OffsetToData field.
bool FindEntry(const Image& image, size_t dir, uint32_t id, uint32_t& target) {
    uint32_t named = 0, ids = 0;
    if (!image.U16(dir + 12, named) || !image.U16(dir + 14, ids)) return false;
    for (uint32_t i = 0; i < named + ids; ++i) {
        uint32_t name = 0;
        if (!image.U32(dir + 16 + size_t(i) * 8, name) || !image.U32(dir + 20 + size_t(i) * 8, target)) return false;
        if (id == 0 || name == id) return true;
    }
    return false;
}

// VS_VERSIONINFO: its length, value length, type, the key "VS_VERSION_INFO",
// padding to four bytes, then VS_FIXEDFILEINFO.
bool ReadFixedInfo(const Image& image, size_t block, uint32_t blockSize, uint32_t& ms, uint32_t& ls) {
    static const char16_t key[] = u"VS_VERSION_INFO";
    const size_t keyBytes = sizeof(key);  // with its terminating zero
    const size_t fixed = (6 + keyBytes + 3) & ~size_t(3);
    uint32_t valueLength = 0, signature = 0;
    if (blockSize < fixed + 24 || !image.Has(block, fixed + 24) || !image.U16(block + 2, valueLength) ||
        valueLength < 24)
        return false;
    for (size_t i = 0; i < keyBytes / 2; ++i) {
        uint32_t ch = 0;
        if (!image.U16(block + 6 + i * 2, ch) || ch != uint32_t(key[i])) return false;
    }
    if (!image.U32(block + fixed, signature) || signature != FixedInfoSignature) return false;
    return image.U32(block + fixed + 16, ms) && image.U32(block + fixed + 20, ls);
}

}  // namespace

bool ImageProductVersion(const void* data, size_t size, uint32_t& ms, uint32_t& ls) {
    ms = 0;
    ls = 0;
    const Image image(data, size);
    uint32_t peOffset = 0, signature = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    if (!image.Has(0, 2) || std::memcmp(image.At(0), "MZ", 2) != 0 || !image.U32(0x3C, peOffset) ||
        !image.U32(peOffset, signature) || signature != 0x00004550 ||  // "PE\0\0"
        !image.U16(size_t(peOffset) + 6, sectionCount) || !image.U16(size_t(peOffset) + 20, optionalSize))
        return false;
    const size_t optional = size_t(peOffset) + 24;
    if (!image.U16(optional, magic)) return false;
    size_t directories = 0;  // the data directories and their count's offset
    if (magic == 0x10B)
        directories = 96;
    else if (magic == 0x20B)
        directories = 112;
    else
        return false;
    uint32_t directoryCount = 0, resourceRva = 0, resourceSize = 0;
    if (optionalSize < directories + 3 * 8 || !image.U32(optional + directories - 4, directoryCount) ||
        directoryCount < 3 || !image.U32(optional + directories + 16, resourceRva) ||
        !image.U32(optional + directories + 20, resourceSize) || resourceRva == 0)
        return false;
    const Sections sections{optional + optionalSize, sectionCount};
    size_t resources = 0;
    if (!RvaToOffset(image, sections, resourceRva, resourceSize, resources)) return false;

    // Type, then name, then language: the first name and language of the version
    // type; the first two levels are directories, the third the data entry.
    constexpr uint32_t Subdirectory = 0x80000000u;
    const uint32_t ids[3] = {VersionType, 0, 0};
    size_t entry = resources;
    for (int level = 0; level < 3; ++level) {
        uint32_t target = 0;
        if (!FindEntry(image, entry, ids[level], target)) return false;
        if (((target & Subdirectory) != 0) != (level < 2)) return false;
        if ((target & ~Subdirectory) >= resourceSize) return false;
        entry = resources + (target & ~Subdirectory);
    }
    uint32_t dataRva = 0, dataSize = 0;
    size_t block = 0;
    if (!image.U32(entry, dataRva) || !image.U32(entry + 4, dataSize) ||
        !RvaToOffset(image, sections, dataRva, dataSize, block))
        return false;
    return ReadFixedInfo(image, block, dataSize, ms, ls);
}

DWORD GetFileProductVersion(const std::wstring& fileName, DWORD& ms, DWORD& ls) {
    ms = 0;
    ls = 0;
    std::string bytes;
    uint32_t productMs = 0, productLs = 0;
    if (const DWORD err = ReadFileBytes(fileName, bytes, FILE_SHARE_READ)) return err;
    if (!ImageProductVersion(bytes.data(), bytes.size(), productMs, productLs)) return ERROR_RESOURCE_TYPE_NOT_FOUND;
    ms = productMs;
    ls = productLs;
    return 0;
}

}  // namespace tessel::common

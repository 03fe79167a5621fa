#include "scan/elf_dynamic_info.h"

#include "scan/pe_image_file.h"

#include <gelf.h>
#include <libelf.h>

#include <cstring>
#include <new>

namespace mirelon {

namespace {

// libelf reads whole sections; larger ones are taken as damage rather than read. The largest
// real string tables are a few MiB (a big program's symbol names).
constexpr GElf_Xword kMaxDynamicSectionBytes = GElf_Xword{16} << 20;
constexpr GElf_Xword kMaxStringTableBytes = GElf_Xword{64} << 20;
// A longer name cannot be a path the loader would open.
constexpr std::size_t kMaxNameLength = 4096;

bool LibelfReady() {
    static const bool ready = elf_version(EV_CURRENT) != EV_NONE;
    return ready;
}

class ElfHandle {
public:
    explicit ElfHandle(Elf* elf) : elf_(elf) {}
    ~ElfHandle() { elf_end(elf_); }
    ElfHandle(const ElfHandle&) = delete;
    ElfHandle& operator=(const ElfHandle&) = delete;
    Elf* Get() const { return elf_; }

private:
    Elf* elf_;
};

bool ReadName(Elf* elf, std::size_t stringSection, GElf_Xword offset, std::string& name) {
    // libelf checks that the offset lies in the section and that a zero ends the name inside it.
    const char* text = elf_strptr(elf, stringSection, offset);
    if (text == nullptr) {
        return false;
    }
    const std::size_t length = strnlen(text, kMaxNameLength + 1);
    if (length > kMaxNameLength) {
        return false;
    }
    name.assign(text, length);
    return true;
}

bool ReadDynamicSection(Elf* elf, Elf_Scn* dynamic, const GElf_Shdr& header, ElfDynamicInfo& info) {
    GElf_Shdr stringsHeader;
    Elf_Scn* strings = elf_getscn(elf, header.sh_link);
    if (strings == nullptr || gelf_getshdr(strings, &stringsHeader) == nullptr ||
        stringsHeader.sh_type != SHT_STRTAB || header.sh_size > kMaxDynamicSectionBytes ||
        stringsHeader.sh_size > kMaxStringTableBytes) {
        return false;
    }
    Elf_Data* data = elf_getdata(dynamic, nullptr);
    if (data == nullptr) {
        return false;
    }
    bool haveSoname = false;
    GElf_Dyn entry;
    // The loader stops at the first DT_NULL; so does this walk.
    for (int index = 0; gelf_getdyn(data, index, &entry) != nullptr && entry.d_tag != DT_NULL;
         ++index) {
        if (entry.d_tag == DT_NEEDED && info.needed.size() < kMaxNeededLibraries) {
            std::string name;
            if (!ReadName(elf, header.sh_link, entry.d_un.d_val, name)) {
                return false;
            }
            info.needed.push_back(std::move(name));
        } else if (entry.d_tag == DT_SONAME && !haveSoname) {
            if (!ReadName(elf, header.sh_link, entry.d_un.d_val, info.soname)) {
                return false;
            }
            haveSoname = true;
        }
    }
    return true;
}

// The first SHT_DYNAMIC section, found through the section headers. A separate debug file keeps
// the headers but marks the section as holding nothing, so it yields nothing, as it should.
ElfDynamicInfo Collect(Elf* elf) {
    ElfDynamicInfo info;
    if (elf == nullptr || elf_kind(elf) != ELF_K_ELF) {
        return info;
    }
    for (Elf_Scn* section = elf_nextscn(elf, nullptr); section != nullptr;
         section = elf_nextscn(elf, section)) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr) {
            return {};
        }
        if (header.sh_type == SHT_DYNAMIC) {
            if (!ReadDynamicSection(elf, section, header, info)) {
                return {};
            }
            return info;
        }
    }
    return info;
}

} // namespace

ElfDynamicInfo ReadElfDynamicInfo(const TPeFileSource& file) {
    if (!file.IsOpen() || !LibelfReady()) {
        return {};
    }
    try {
        // Plain reads, not a mapping: a file cut short while it is read must give an error, not
        // a bus error. libelf reads only the headers and the two sections, each checked against
        // the file's size.
        const ElfHandle elf(elf_begin(static_cast<int>(file.Descriptor()), ELF_C_READ, nullptr));
        return Collect(elf.Get());
    } catch (const std::bad_alloc&) {
        return {};
    }
}

ElfDynamicInfo ParseElfDynamicInfo(std::span<const uint8_t> image) {
    if (!LibelfReady()) {
        return {};
    }
    try {
        // libelf takes a writable image; it gets a copy so the caller's bytes stay untouched.
        std::vector<char> copy(image.begin(), image.end());
        const ElfHandle elf(elf_memory(copy.data(), copy.size()));
        return Collect(elf.Get());
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace mirelon

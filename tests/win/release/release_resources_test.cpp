// The finished executables, read as Explorer and the loader read them: the
// version block through the version API, the manifest and the icon through
// the resource functions, the headers from the file's own bytes. Both
// builds' games are read, whichever bitness this test has: the other one is
// only mapped as data. The 32-bit game is the stripped release build.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "quillory_version.h"

namespace {

struct Executable {
    const char* Label;
    const char* PathVariable;  // the environment variable that names it (a Unix path)
    WORD Machine;
    WORD OptionalHeaderMagic;
};

// gtest names the case by the label; the failure lines say it too.
void PrintTo(const Executable& exe, std::ostream* out) { *out << exe.Label; }

const Executable kGame64{"game64", "QUILLORY_GAME_EXE", IMAGE_FILE_MACHINE_AMD64,
                         IMAGE_NT_OPTIONAL_HDR64_MAGIC};
const Executable kRelease32{"release32", "QUILLORY_RELEASE_EXE", IMAGE_FILE_MACHINE_I386,
                            IMAGE_NT_OPTIONAL_HDR32_MAGIC};

// "/work/x/quillory.exe" as Wine's Z: drive sees it.
std::string DosPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& ch : path)
        if (ch == '/') ch = '\\';
    return path;
}

std::string PathOf(const Executable& exe) {
    const char* unixPath = std::getenv(exe.PathVariable);
    return unixPath && *unixPath ? DosPath(unixPath) : std::string();
}

std::vector<char> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A module mapped as data only: its resources can be read, nothing of it runs,
// and its bitness need not be ours.
class DataModule {
public:
    explicit DataModule(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        if (!module_) module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~DataModule() {
        if (module_) FreeLibrary(module_);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE Get() const { return module_; }

    // The bytes of one resource, empty when there is none.
    std::string Resource(LPCSTR type, LPCSTR name) const {
        if (!module_) return {};
        HRSRC info = FindResourceA(module_, name, type);
        if (!info) return {};
        HGLOBAL loaded = LoadResource(module_, info);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return {};
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, info));
    }

private:
    HMODULE module_;
};

// The version block of a file as the version API hands it out.
class VersionBlock {
public:
    explicit VersionBlock(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool Present() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        void* value = nullptr;
        UINT length = 0;
        if (!Present() || !VerQueryValueA(data_.data(), "\\", &value, &length) ||
            length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    // The first translation the block lists, as "040904E4".
    std::string Translation() const {
        void* value = nullptr;
        UINT length = 0;
        if (!Present() || !VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value,
                                          &length) ||
            length < 2 * sizeof(WORD))
            return {};
        const WORD* pair = static_cast<const WORD*>(value);
        char text[9];
        wsprintfA(text, "%04X%04X", pair[0], pair[1]);
        return text;
    }

    // One string of the block under its first translation; "<missing>" when absent.
    std::string String(const char* name) const {
        const std::string key = "\\StringFileInfo\\" + Translation() + "\\" + name;
        void* value = nullptr;
        UINT length = 0;
        if (!Present() || !VerQueryValueA(data_.data(), key.c_str(), &value, &length))
            return "<missing>";
        return std::string(static_cast<const char*>(value));
    }

private:
    std::vector<char> data_;
};

class ReleaseResources : public ::testing::TestWithParam<Executable> {
protected:
    void SetUp() override {
        path_ = PathOf(GetParam());
        ASSERT_FALSE(path_.empty()) << GetParam().PathVariable << " is not set";
        ASSERT_NE(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES)
            << path_ << " is missing (build both games: make win64 win32)";
    }
    std::string path_;
};

TEST_P(ReleaseResources, VersionBlockNamesTheProductAndItsVersion) {
    VersionBlock block(path_);
    ASSERT_TRUE(block.Present()) << "no version block in " << path_;
    EXPECT_EQ(block.Translation(), "040904E4");
    EXPECT_EQ(block.String("ProductName"), "Quillory");
    EXPECT_EQ(block.String("FileDescription"), "Quillory");
    EXPECT_EQ(block.String("FileVersion"), QUILLORY_VERSION_STRING);
    EXPECT_EQ(block.String("ProductVersion"), QUILLORY_VERSION_STRING);
    EXPECT_EQ(block.String("OriginalFilename"), "quillory.exe");
    const std::string copyright = block.String("LegalCopyright");
    EXPECT_EQ(copyright.rfind("Copyright (C) ", 0), 0u) << copyright;
    EXPECT_NE(copyright.find("Brindlework"), std::string::npos) << copyright;

    const VS_FIXEDFILEINFO* fixed = block.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS,
              static_cast<DWORD>(MAKELONG(QUILLORY_VERSION_MINOR, QUILLORY_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, QUILLORY_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_DEBUG, 0u);
}

// The manifest the loader reads: common controls 6 and the Windows versions
// the program declares it knows, exactly as res/ holds it.
TEST_P(ReleaseResources, ManifestAsksForCommonControls6AndNamesWindows7To11) {
    DataModule module(path_);
    ASSERT_NE(module.Get(), nullptr) << "cannot map " << path_ << ": " << GetLastError();
    const std::string manifest =
        module.Resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";

    const auto dependency = manifest.find("<dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos);
    const auto dependencyEnd = manifest.find("</dependentAssembly>", dependency);
    ASSERT_NE(dependencyEnd, std::string::npos);
    const std::string dependent = manifest.substr(dependency, dependencyEnd - dependency);
    EXPECT_NE(dependent.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(dependent.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(dependent.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);

    const auto compatibility =
        manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    ASSERT_NE(compatibility, std::string::npos);
    const char* windowsIds[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const char* id : windowsIds) {
        const auto at = manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>");
        EXPECT_NE(at, std::string::npos) << id;
        EXPECT_GT(at, compatibility) << id << " stands outside the compatibility section";
    }

    const char* source = std::getenv("QUILLORY_MANIFEST");
    ASSERT_NE(source, nullptr);
    const std::vector<char> sourceBytes = ReadFileBytes(DosPath(source));
    ASSERT_FALSE(sourceBytes.empty());
    EXPECT_EQ(manifest, std::string(sourceBytes.begin(), sourceBytes.end()))
        << "the executable carries another manifest than res/ holds";
}

TEST_P(ReleaseResources, CarriesTheProgramIcon) {
    DataModule module(path_);
    ASSERT_NE(module.Get(), nullptr);
    const std::string group = module.Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(1));
    // A group header (reserved 0, type 1 = icon, count) and at least one image.
    ASSERT_GE(group.size(), 6u + 14u);
    WORD header[3];
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(header[0], 0);
    EXPECT_EQ(header[1], 1);
    EXPECT_GE(header[2], 1);
}

// The file's own headers: the bitness it claims, a windowed program, and for
// the release build no symbol table and no debug sections left in it.
TEST_P(ReleaseResources, HeadersMatchTheBuild) {
    const std::vector<char> bytes = ReadFileBytes(path_);
    ASSERT_GE(bytes.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    const std::size_t ntAt = static_cast<std::size_t>(dos.e_lfanew);
    ASSERT_LE(ntAt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) + sizeof(WORD), bytes.size());
    DWORD signature;
    std::memcpy(&signature, bytes.data() + ntAt, sizeof signature);
    ASSERT_EQ(signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    IMAGE_FILE_HEADER header;
    std::memcpy(&header, bytes.data() + ntAt + sizeof signature, sizeof header);
    EXPECT_EQ(header.Machine, GetParam().Machine);
    const std::size_t optionalAt = ntAt + sizeof signature + sizeof header;
    WORD magic;
    std::memcpy(&magic, bytes.data() + optionalAt, sizeof magic);
    EXPECT_EQ(magic, GetParam().OptionalHeaderMagic);
    // The subsystem stands at the same offset in both optional header layouts.
    constexpr std::size_t kSubsystemOffset = offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem);
    static_assert(kSubsystemOffset == offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem));
    ASSERT_LE(optionalAt + kSubsystemOffset + sizeof(WORD), bytes.size());
    WORD subsystem;
    std::memcpy(&subsystem, bytes.data() + optionalAt + kSubsystemOffset, sizeof subsystem);
    EXPECT_EQ(subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    // Hardened: Windows 7, ASLR, DEP, terminal server, no SEH (32-bit), stack guard.
    IMAGE_OPTIONAL_HEADER32 fields;  // both layouts agree up to the stack sizes
    std::memcpy(&fields, bytes.data() + optionalAt,
                offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfStackReserve));
    EXPECT_EQ(fields.MajorSubsystemVersion * 100 + fields.MinorSubsystemVersion, 601);
    const WORD hardened =
        IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
        IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE |
        (header.Machine == IMAGE_FILE_MACHINE_I386 ? IMAGE_DLLCHARACTERISTICS_NO_SEH : 0);
    EXPECT_EQ(fields.DllCharacteristics & hardened, hardened)
        << std::hex << fields.DllCharacteristics;
    const std::string image(bytes.begin(), bytes.end());
    EXPECT_NE(image.find("*** stack smashing detected ***"), std::string::npos);

    if (GetParam().Machine != IMAGE_FILE_MACHINE_I386) return;
    // 725 KB before games were recorded and watched again, 760 KB since.
    constexpr std::size_t kReleaseSizeLimit = 780 * 1024;
    EXPECT_LE(bytes.size(), kReleaseSizeLimit) << "what brought the release game past 780 KB?";
    // The game's terminate handler (src/game/main.cpp), not libstdc++'s with its demangler.
    for (const char* text : {"terminate called after throwing", "(anonymous namespace)"})
        EXPECT_EQ(image.find(text), std::string::npos) << text;
    EXPECT_EQ(header.PointerToSymbolTable, 0u) << "the release build still has its symbols";
    EXPECT_EQ(header.NumberOfSymbols, 0u);
    const std::size_t sectionsAt = optionalAt + header.SizeOfOptionalHeader;
    ASSERT_LE(sectionsAt + header.NumberOfSections * sizeof(IMAGE_SECTION_HEADER), bytes.size());
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        std::memcpy(&section, bytes.data() + sectionsAt + i * sizeof section, sizeof section);
        const std::string name(reinterpret_cast<const char*>(section.Name),
                               strnlen(reinterpret_cast<const char*>(section.Name),
                                       IMAGE_SIZEOF_SHORT_NAME));
        // Long names ("/4") live in the symbols' string table: only debug
        // sections get them in a MinGW build.
        EXPECT_NE(name.rfind(".debug", 0), 0u) << name;
        EXPECT_NE(name.rfind("/", 0), 0u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, ReleaseResources, ::testing::Values(kGame64, kRelease32),
                         [](const ::testing::TestParamInfo<Executable>& info) {
                             return std::string(info.param.Label);
                         });

}  // namespace

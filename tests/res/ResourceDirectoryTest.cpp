// Reads the resource directory of an executable through the platform's own loader: the
// screen saver's when its path is given, otherwise this test's, which links the same script.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "res/ResourceIds.h"
#include "tests/res/DibView.h"

namespace {

// The executable under test: the path given on the command line, or this test program.
std::string testedModule;

constexpr WORD kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

using Entry = std::tuple<std::uintptr_t, std::uintptr_t, WORD>;  // Type, ID, language.

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    auto* entries = reinterpret_cast<std::vector<Entry>*>(param);
    entries->emplace_back(reinterpret_cast<std::uintptr_t>(type),
                          reinterpret_cast<std::uintptr_t>(name), language);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    // A named (non-integer) resource shows up with an ID that no expected entry has.
    if (!IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<Entry>*>(param)->emplace_back(0, 0, 0);
        return TRUE;
    }
    EnumResourceLanguagesA(module, type, name, AddLanguage, param);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR param) {
    if (!IS_INTRESOURCE(type)) {
        reinterpret_cast<std::vector<Entry>*>(param)->emplace_back(0, 0, 0);
        return TRUE;
    }
    EnumResourceNamesA(module, type, AddName, param);
    return TRUE;
}

class ResourceDirectory : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(testedModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << testedModule << " error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // The bytes of one resource, looked up under French.
    std::span<const std::uint8_t> Bytes(LPCSTR type, int id) const {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kFrench);
        if (found == nullptr) {
            ADD_FAILURE() << "resource " << id << " not found";
            return {};
        }
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
        return {data, SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

TEST_F(ResourceDirectory, HoldsExactlyTheTenFrenchEntries) {
    std::vector<Entry> entries;
    ASSERT_TRUE(EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&entries)));
    auto entry = [](LPCSTR type, int id) {
        return Entry{reinterpret_cast<std::uintptr_t>(type), static_cast<std::uintptr_t>(id),
                     kFrench};
    };
    const std::multiset<Entry> expected{
        entry(RT_BITMAP, IDB_BALL0),
        entry(RT_BITMAP, IDB_BALL1),
        entry(RT_BITMAP, IDB_DIALOG_PICTURE),
        entry(RT_BITMAP, IDB_LOGO),
        entry(RT_BITMAP, IDB_PANEL),
        entry(RT_ICON, 1),
        entry(RT_ICON, 2),
        entry(RT_GROUP_ICON, IDI_ZEMLAR),
        entry(RT_DIALOG, IDD_SETTINGS),
        entry(RT_VERSION, 1),
    };
    EXPECT_EQ(std::multiset<Entry>(entries.begin(), entries.end()), expected);
}

struct BitmapCase {
    int id;
    int width;
    int height;
    int bitsPerPixel;
    DibColour topLeft;
};

TEST_F(ResourceDirectory, BitmapsHaveTheirHeadersAndBackgrounds) {
    const BitmapCase cases[] = {
        {IDB_BALL0, 16, 16, 8, {250, 251, 251}},       {IDB_BALL1, 16, 16, 24, {0, 0, 0}},
        {IDB_DIALOG_PICTURE, 106, 111, 24, {0, 0, 0}}, {IDB_LOGO, 256, 128, 8, {170, 191, 170}},
        {IDB_PANEL, 256, 128, 8, {90, 93, 217}},
    };
    for (const BitmapCase& c : cases) {
        const std::span<const std::uint8_t> bytes = Bytes(RT_BITMAP, c.id);
        ASSERT_GE(bytes.size(), 40u) << c.id;
        const DibView dib(bytes);
        EXPECT_EQ(dib.Width(), c.width) << c.id;
        EXPECT_EQ(dib.Height(), c.height) << c.id;
        EXPECT_EQ(dib.BitsPerPixel(), c.bitsPerPixel) << c.id;
        EXPECT_EQ(dib.HeaderSize(), 40u) << c.id;
        EXPECT_EQ(dib.Compression(), 0u) << c.id;
        EXPECT_EQ(dib.PaletteEntries(), c.bitsPerPixel == 8 ? 256u : 0u) << c.id;
        ASSERT_EQ(bytes.size(), dib.ExpectedSize()) << c.id;
        EXPECT_EQ(dib.Pixel(0, 0), c.topLeft) << c.id;
    }
}

TEST_F(ResourceDirectory, IconGroupListsTheLargeThenTheSmallImage) {
    const std::span<const std::uint8_t> group = Bytes(RT_GROUP_ICON, IDI_ZEMLAR);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(ReadLe16(group, 0), 0);
    EXPECT_EQ(ReadLe16(group, 2), 1);
    ASSERT_EQ(ReadLe16(group, 4), 2);
    struct Expected {
        int size;
        std::uint32_t bytes;
        int id;
    };
    const Expected expected[] = {{32, 744, 1}, {16, 296, 2}};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t at = 6 + i * 14;
        const Expected& e = expected[i];
        EXPECT_EQ(group[at], e.size);
        EXPECT_EQ(group[at + 1], e.size);
        EXPECT_EQ(group[at + 2], 16);  // Colours.
        EXPECT_EQ(group[at + 3], 0);
        EXPECT_EQ(ReadLe16(group, at + 4), 1);  // Planes.
        EXPECT_EQ(ReadLe16(group, at + 6), 4);  // Bits per pixel.
        EXPECT_EQ(ReadLe32(group, at + 8), e.bytes);
        ASSERT_EQ(ReadLe16(group, at + 12), e.id);

        const std::span<const std::uint8_t> image = Bytes(RT_ICON, e.id);
        ASSERT_EQ(image.size(), e.bytes);
        const DibView dib(image);
        EXPECT_EQ(dib.Width(), e.size);
        EXPECT_EQ(dib.Height(), 2 * e.size);
        EXPECT_EQ(dib.BitsPerPixel(), 4);
        // The 1-bit mask after the colour rows is all zero: every pixel is opaque.
        const std::size_t mask = 40 + 16 * 4 + dib.RowBytes() * static_cast<std::size_t>(e.size);
        EXPECT_TRUE(std::all_of(image.begin() + static_cast<std::ptrdiff_t>(mask), image.end(),
                                [](std::uint8_t bits) { return bits == 0; }));
    }
}

// Reads a sz_Or_Ord field: 0xFFFF and an ordinal, or a zero-terminated UTF-16 string.
class TemplateReader {
  public:
    explicit TemplateReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint16_t Word() {
        const std::uint16_t value = ReadLe16(bytes_, at_);
        at_ += 2;
        return value;
    }
    std::uint32_t Dword() {
        const std::uint32_t value = ReadLe32(bytes_, at_);
        at_ += 4;
        return value;
    }
    std::string String() {
        std::string text;
        for (std::uint16_t c = Word(); c != 0; c = Word()) {
            text += static_cast<char>(c);
        }
        return text;
    }
    // "#n" for an ordinal, the text otherwise.
    std::string StringOrOrdinal() {
        if (ReadLe16(bytes_, at_) == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return String();
    }
    void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }
    std::size_t Offset() const { return at_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

struct ControlCase {
    std::uint32_t id;
    const char* className;  // The predefined classes' ordinals: 0x80 Button, 0x81 Edit,
                            // 0x82 Static, 0x85 ComboBox.
    const char* text;
    int x, y, width, height;
    DWORD style;  // Beyond WS_CHILD | WS_VISIBLE.
    DWORD exStyle;
};

TEST_F(ResourceDirectory, SettingsDialogTemplateIsTheExtendedLayout) {
    const std::span<const std::uint8_t> bytes = Bytes(RT_DIALOG, IDD_SETTINGS);
    ASSERT_GT(bytes.size(), 26u);
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);       // dlgVer.
    EXPECT_EQ(reader.Word(), 0xFFFF);  // signature: DLGTEMPLATEEX.
    EXPECT_EQ(reader.Dword(), 0u);     // helpID.
    EXPECT_EQ(reader.Dword(), 0u);     // exStyle.
    EXPECT_EQ(reader.Dword(),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER |
                                 DS_SETFOREGROUND | DS_SETFONT));
    const std::uint16_t count = reader.Word();
    ASSERT_EQ(count, 13);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 207);
    EXPECT_EQ(reader.Word(), 151);
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // No menu.
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // The standard dialog class.
    EXPECT_EQ(reader.String(), "Zemlar configuration box");
    EXPECT_EQ(reader.Word(), 8);       // Points.
    EXPECT_EQ(reader.Word(), 0);       // Weight.
    EXPECT_EQ(reader.Word(), 0x0100);  // Not italic, DEFAULT_CHARSET.
    EXPECT_EQ(reader.String(), "MS Sans Serif");

    const std::uint32_t none = 0xFFFFFFFF;
    const ControlCase controls[] = {
        {IDOK, "#128", "&OK", 150, 130, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {IDCANCEL, "#128", "&Cancel", 95, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
        {none, "#130", "#112", 5, 5, 73, 71, SS_BITMAP, WS_EX_CLIENTEDGE},
        {none, "#130", "FOV :", 85, 40, 19, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_FOV, "#129", "", 165, 35, 35, 14, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
         0},
        {none, "#130", "Model :", 85, 60, 24, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_MODEL, "#133", "", 135, 55, 65, 30,
         CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP | WS_DISABLED, 0},
        {IDC_CONTACT, "#130", nullptr, 5, 115, 130, 10, SS_LEFT | WS_GROUP, 0},
        {IDC_CLEAR_SCREEN, "#128", "C&lear screen", 85, 80, 115, 10, BS_AUTOCHECKBOX | WS_TABSTOP,
         0},
        {IDC_DISPLAY_INFO, "#128", "&Display informations", 85, 90, 78, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP, 0},
        {none, "#130", "Number of ball per line :", 85, 20, 75, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_BALLS_PER_LINE, "#129", "", 165, 14, 35, 14,
         ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
        {IDC_INC_Z_POS, "#128", "Inc Z pos", 85, 100, 46, 10, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    };
    for (const ControlCase& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << static_cast<std::int32_t>(c.id));
        reader.AlignToDword();
        EXPECT_EQ(reader.Dword(), 0u);  // helpID.
        EXPECT_EQ(reader.Dword(), c.exStyle);
        EXPECT_EQ(reader.Dword(), c.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(reader.Word(), c.x);
        EXPECT_EQ(reader.Word(), c.y);
        EXPECT_EQ(reader.Word(), c.width);
        EXPECT_EQ(reader.Word(), c.height);
        EXPECT_EQ(reader.Dword(), c.id);
        EXPECT_EQ(reader.StringOrOrdinal(), c.className);
        const std::string text = reader.StringOrOrdinal();
        if (c.text != nullptr) {
            EXPECT_EQ(text, c.text);
        } else {
            // The contact line: one line offering an e-mail address.
            EXPECT_NE(text.find('@'), std::string::npos) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        }
        EXPECT_EQ(reader.Word(), 0);  // No creation data.
    }
    EXPECT_LE(reader.Offset(), bytes.size());
}

// The version block as the platform's reader sees it, as the shell's file properties show it.
TEST_F(ResourceDirectory, VersionBlockHoldsTheFixedValuesAndFrenchStrings) {
    const std::string path = testedModule;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << GetLastError();
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    const DWORD actual[] = {
        fixed.dwSignature,     fixed.dwStrucVersion,     fixed.dwFileVersionMS,
        fixed.dwFileVersionLS, fixed.dwProductVersionMS, fixed.dwProductVersionLS,
        fixed.dwFileFlagsMask, fixed.dwFileFlags,        fixed.dwFileOS,
        fixed.dwFileType,      fixed.dwFileSubtype,      fixed.dwFileDateMS,
        fixed.dwFileDateLS};
    const DWORD expected[] = {
        0xFEEF04BD,       0x00010000,       0x00010000, 1, 0x00010000, 1, 0x3F,
        VS_FF_PRERELEASE, VOS_NT_WINDOWS32, VFT_APP,    0, 0,          0};
    EXPECT_TRUE(std::equal(std::begin(actual), std::end(actual), std::begin(expected)));

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x040C);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 0x04B0);

    // The twelve keys; nullptr: any non-empty text.
    const std::pair<const char*, const char*> keys[] = {{"Comments", nullptr},
                                                        {"CompanyName", nullptr},
                                                        {"FileDescription", nullptr},
                                                        {"FileVersion", "1, 0, 0, 1"},
                                                        {"InternalName", nullptr},
                                                        {"LegalCopyright", nullptr},
                                                        {"LegalTrademarks", ""},
                                                        {"OriginalFilename", nullptr},
                                                        {"PrivateBuild", ""},
                                                        {"ProductName", nullptr},
                                                        {"ProductVersion", "1, 0, 0, 1"},
                                                        {"SpecialBuild", ""}};
    for (const auto& [name, expectedText] : keys) {
        const std::string query = std::string("\\StringFileInfo\\040c04b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), &value, &length)) << name;
        const std::string text = length == 0 ? "" : static_cast<const char*>(value);
        if (expectedText != nullptr) {
            EXPECT_EQ(text, expectedText) << name;
        } else {
            EXPECT_NE(text, "") << name;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        // ctest passes a Unix path; Wine's Z: drive is the Unix root.
        testedModule = argv[1][0] == '/' ? std::string("Z:") + argv[1] : argv[1];
        std::replace(testedModule.begin(), testedModule.end(), '/', '\\');
    } else {
        char own[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, own, MAX_PATH);
        testedModule = own;
    }
    return RUN_ALL_TESTS();
}

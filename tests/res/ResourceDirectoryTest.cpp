// Reads the resource directory of an executable through the platform's own loader: the
// screen saver's when its path is given, otherwise this test's, which links the same script.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "res/ResourceIds.h"
#include "tests/res/DibView.h"
#include "tests/res/ModulePath.h"
#include "tests/res/VersionTree.h"

namespace {

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
        module_ = LoadLibraryExA(TestedModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << TestedModulePath() << " error " << GetLastError();
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

// The program asks for no language, so the lookups work whatever the user's language is.
TEST_F(ResourceDirectory, FindsEveryResourceWithoutALanguage) {
    for (int id : {IDB_BALL0, IDB_BALL1, IDB_DIALOG_PICTURE, IDB_LOGO, IDB_PANEL}) {
        EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(id), RT_BITMAP), nullptr) << id;
    }
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(IDD_SETTINGS), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(IDI_ZEMLAR), RT_GROUP_ICON), nullptr);
    // The saver window's class asks for icon 100, which must not exist.
    EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(100), RT_GROUP_ICON), nullptr);
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
        EXPECT_EQ(dib.HeaderSize(), 40u) << c.id;
        EXPECT_EQ(dib.Width(), c.width) << c.id;
        EXPECT_EQ(dib.Height(), c.height) << c.id;
        EXPECT_EQ(dib.Planes(), 1) << c.id;
        EXPECT_EQ(dib.BitsPerPixel(), c.bitsPerPixel) << c.id;
        EXPECT_EQ(dib.Compression(), static_cast<std::uint32_t>(BI_RGB)) << c.id;
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
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::uint8_t Byte() { return bytes_[at_++]; }
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

// Class names as the dialog manager knows them: ordinals 0x80.. or the names themselves.
std::string ClassName(const std::string& field) {
    if (field == "#128")
        return "button";
    if (field == "#129")
        return "edit";
    if (field == "#130")
        return "static";
    if (field == "#133")
        return "combobox";
    std::string lower;
    for (char c : field) {
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return lower;
}

struct ControlCase {
    std::uint32_t id;
    const char* className;
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
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 207);
    EXPECT_EQ(reader.Short(), 151);
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // No menu.
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // The standard dialog class.
    EXPECT_EQ(reader.String(), "Zemlar configuration box");
    EXPECT_EQ(reader.Word(), 8);  // Points.
    EXPECT_EQ(reader.Word(), 0);  // Weight.
    EXPECT_EQ(reader.Byte(), 0);  // Not italic.
    EXPECT_EQ(reader.Byte(), 1);  // DEFAULT_CHARSET.
    EXPECT_EQ(reader.String(), "MS Sans Serif");

    const std::uint32_t none = 0xFFFFFFFF;
    const ControlCase controls[] = {
        {IDOK, "button", "&OK", 150, 130, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {IDCANCEL, "button", "&Cancel", 95, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
        {none, "static", "#112", 5, 5, 73, 71, SS_BITMAP, WS_EX_CLIENTEDGE},
        {none, "static", "FOV :", 85, 40, 19, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_FOV, "edit", "", 165, 35, 35, 14, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
         0},
        {none, "static", "Model :", 85, 60, 24, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_MODEL, "combobox", "", 135, 55, 65, 30,
         CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP | WS_DISABLED, 0},
        {IDC_CONTACT, "static", nullptr, 5, 115, 130, 10, SS_LEFT | WS_GROUP, 0},
        {IDC_CLEAR_SCREEN, "button", "C&lear screen", 85, 80, 115, 10, BS_AUTOCHECKBOX | WS_TABSTOP,
         0},
        {IDC_DISPLAY_INFO, "button", "&Display informations", 85, 90, 78, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP, 0},
        {none, "static", "Number of ball per line :", 85, 20, 75, 8, SS_LEFT | WS_GROUP, 0},
        {IDC_BALLS_PER_LINE, "edit", "", 165, 14, 35, 14,
         ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
        {IDC_INC_Z_POS, "button", "Inc Z pos", 85, 100, 46, 10, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    };
    for (const ControlCase& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << static_cast<std::int32_t>(c.id));
        reader.AlignToDword();
        EXPECT_EQ(reader.Dword(), 0u);  // helpID.
        EXPECT_EQ(reader.Dword(), c.exStyle);
        EXPECT_EQ(reader.Dword(), c.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(reader.Short(), c.x);
        EXPECT_EQ(reader.Short(), c.y);
        EXPECT_EQ(reader.Short(), c.width);
        EXPECT_EQ(reader.Short(), c.height);
        EXPECT_EQ(reader.Dword(), c.id);
        EXPECT_EQ(ClassName(reader.StringOrOrdinal()), c.className);
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

TEST_F(ResourceDirectory, VersionBlockHoldsTheFixedValuesAndTwelveFrenchKeys) {
    const std::span<const std::uint8_t> bytes = Bytes(RT_VERSION, 1);
    const VersionNode root = ParseVersionNode(bytes);
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, static_cast<DWORD>(VS_FF_PRERELEASE));
    EXPECT_EQ(fixed.dwFileOS, 0x40004u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS, 0u);
    EXPECT_EQ(fixed.dwFileDateLS, 0u);

    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& strings = root.children[0];
    EXPECT_EQ(strings.key, "StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    const VersionNode& table = strings.children[0];
    EXPECT_EQ(table.key, "040c04b0");
    const char* const keys[] = {"Comments",        "CompanyName",      "FileDescription",
                                "FileVersion",     "InternalName",     "LegalCopyright",
                                "LegalTrademarks", "OriginalFilename", "PrivateBuild",
                                "ProductName",     "ProductVersion",   "SpecialBuild"};
    ASSERT_EQ(table.children.size(), std::size(keys));
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        const VersionNode& value = table.children[i];
        EXPECT_EQ(value.key, keys[i]);
        const std::string text = value.Text();
        const std::string name = keys[i];
        if (name == "FileVersion" || name == "ProductVersion") {
            EXPECT_EQ(text, "1, 0, 0, 1") << name;
        } else if (name == "LegalTrademarks" || name == "PrivateBuild" || name == "SpecialBuild") {
            EXPECT_EQ(text, "") << name;
        } else {
            EXPECT_NE(text, "") << name;
        }
    }

    const VersionNode& variables = root.children[1];
    EXPECT_EQ(variables.key, "VarFileInfo");
    ASSERT_EQ(variables.children.size(), 1u);
    EXPECT_EQ(variables.children[0].key, "Translation");
    ASSERT_EQ(variables.children[0].value.size(), 4u);
    EXPECT_EQ(ReadLe16(variables.children[0].value, 0), 0x040C);
    EXPECT_EQ(ReadLe16(variables.children[0].value, 2), 0x04B0);
}

// The platform's own reader agrees: what the shell's file properties show.
TEST_F(ResourceDirectory, PlatformVersionReaderSeesTheFrenchStrings) {
    const std::string path = TestedModulePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << GetLastError();
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(value)->dwFileVersionLS, 1u);
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040c04b0\\ProductVersion", &value,
                               &length));
    EXPECT_STREQ(static_cast<const char*>(value), "1, 0, 0, 1");
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x040C);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 0x04B0);
}

}  // namespace

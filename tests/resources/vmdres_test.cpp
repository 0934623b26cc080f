// Loads vmdres.dll the way the program does (by name, at run time) and checks
// every string, dialog, menu, accelerator and export it must carry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmdres_ids.h"

namespace {

struct StringRow {
  UINT id;
  std::string text;
};

// Builds a std::string from a literal that may hold NUL characters.
template <size_t N>
std::string S(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// The full string table as the program expects it, blanks and NULs included.
const std::vector<StringRow>& ExpectedStrings() {
  static const std::vector<StringRow> rows = {
    {2304, S("&Quality: ")},
    {2501, S("Open")},
    {2502, S("Save As")},
    {2503, S("All Still Images\0" "*.BMP;*.TIF;*.PCX;*.TGA;*.JPG;*.PCD;*.FPX\0" "Windows Bitmap(*.bmp)\0" "*.BMP\0" "Tagged Image File(*.tif)\0" "*.TIF\0" "PC Paintbrush(*.pcx)\0" "*.pcx\0" "Targa File(*.tga)\0" "*.TGA\0" "JPEG File(*.jpg)\0" "*.JPG\0" "Kodak photo CD(*.PCD)\0" "*.PCD\0" "FlashPix(*.fpx)\0" "*.FPX\0" "")},
    {2504, S("Windows Bitmap(*.bmp)\0" "*.bmp\0" "Tagged Image File(*.tif)\0" "*.tif\0" "PC Paintbrush(*.pcx)\0" "*.pcx\0" "Targa File(*.tga)\0" "*.tga\0" "JPEG File(*.jpg)\0" "*.jpg\0" "FlashPix(*.fpx)\0" "*.fpx\0" "")},
    {2505, S("All Still Images\0" "*.BMP;*.TIF;*.PCX;*.GIF;*.TGA;*.JPG;*.PCD;*.FPX\0" "Windows Bitmap(*.bmp)\0" "*.BMP\0" "Tagged Image File(*.tif)\0" "*.TIF\0" "PC Paintbrush(*.pcx)\0" "*.pcx\0" "CompuServe GIF(*.gif)\0" "*.GIF\0" "Targa File(*.tga)\0" "*.TGA\0" "JPEG File(*.jpg)\0" "*.JPG\0" "Kodak photo CD(*.PCD)\0" "*.PCD\0" "FlashPix(*.fpx)\0" "*.FPX\0" "")},
    {2506, S("Windows Bitmap(*.bmp)\0" "*.bmp\0" "Tagged Image File(*.tif)\0" "*.tif\0" "PC Paintbrush(*.pcx)\0" "*.pcx\0" "CompuServe GIF(*.gif)\0" "*.gif\0" "Targa File(*.tga)\0" "*.tga\0" "JPEG File(*.jpg)\0" "*.jpg\0" "FlashPix(*.fpx)\0" "*.fpx\0" "")},
    {5713, S("Could not find TWAIN_32.DLL in your windows directory.")},
    {5714, S("TWAIN_32.DLL")},
    {50005, S(" Inch")},
    {50006, S("Vistameld - ")},
    {50008, S("Cannot locate image file.")},
    {50009, S("Cannot find the file name.")},
    {50010, S("Read stitching photo error.")},
    {50011, S("Too many photos.")},
    {50012, S("Photo alignment error.")},
    {50013, S("Photo blending error.")},
    {50015, S("The photo is already in the storyboard.")},
    {50016, S("  Stitch Wizard ")},
    {50017, S("  Save ")},
    {50018, S("  Print ")},
    {50019, S("  Zoom In ")},
    {50020, S("  Zoom Out ")},
    {50021, S(" About")},
    {50022, S("Stitched file not open.")},
    {50023, S("Double click to edit photo.")},
    {50024, S("The display setting must be 800x600 pixels, 16-bits color or higher.")},
    {50025, S("Cannot add more photos to storyboard.")},
    {50026, S("Warning")},
    {50027, S("Do you want to save the image?")},
    {50028, S("Please select photos with similar height.")},
    {50031, S("Untitled-")},
    {50032, S("[New Album]")},
    {50034, S("Please select a photo larger than 64x64 pixels.")},
    {50035, S("No printer installed.")},
    {50036, S("detail.log")},
    {50037, S("Cannot open the component file.")},
    {50038, S("Cannot open the component file")},
    {50039, S("Scroll bar error.")},
    {50040, S("Help")},
    {50041, S("Exit")},
    {50042, S("Minimize")},
    {50043, S("Edit")},
    {50044, S("View Detail")},
    {50045, S("View Panorama")},
    {50046, S("Start")},
    {50047, S("Export")},
    {50048, S("Open")},
    {50049, S("detail.btn")},
    {50050, S("Reset")},
    {50051, S("Can't open the file.")},
    {50052, S("Album has reached its maximum capacity.")},
    {50053, S("[New]")},
    {50054, S("Open file error.")},
    {50055, S("File already exists.")},
    {50056, S("Delete")},
    {50057, S("Save album file error.")},
    {50058, S("Sort")},
    {50059, S("Acquire")},
    {50060, S("Select Album")},
    {50061, S("Scroll")},
    {50062, S("Add photos")},
    {50063, S("Cancel")},
    {50064, S("Begin processing")},
    {50065, S("Begin printing")},
    {50066, S("Scroll ")},
    {50067, S("Cancel")},
    {50068, S("Setup printer")},
    {50069, S("Add frame")},
    {50070, S("Center")},
    {50071, S("Remove")},
    {50072, S("Include")},
    {50073, S("Include all")},
    {50075, S("Prepare to process")},
    {50076, S("Photos can only be moved into empty spaces.")},
    {50078, S("Export Panorama")},
    {50079, S("Storyboard")},
    {50080, S("Options")},
    {50081, S("Saturation")},
    {50082, S("Scroll")},
    {50083, S("Ok")},
    {50084, S("Rotate -90 degrees")},
    {50085, S("Rotate +90 degrees")},
    {50086, S("Zoom in")},
    {50087, S("Zoom out")},
    {50088, S("Rotate left")},
    {50089, S("Rotate right")},
    {50090, S("Select crop")},
    {50091, S("Crop")},
    {50092, S("Hue")},
    {50093, S("Brightness")},
    {50094, S("Contrast")},
    {50095, S("Finish")},
    {50096, S("Fine tuning")},
    {50097, S("Auto crop")},
    {50098, S("Don't crop")},
    {50099, S("sort.log")},
    {50100, S("sort.btn")},
    {50101, S("Panorama view available for landscape images only.")},
    {50102, S("You can download QuickTime from http://www.apple.com/quicktime/download/.")},
    {50103, S("pano.log")},
    {50104, S("pano.btn")},
    {50105, S("bar.prg")},
    {50106, S("File format not supported.")},
    {50107, S("Match assistant")},
    {50108, S("Create directory error.")},
    {50109, S("The photo is too small to export.")},
    {50110, S("Previous")},
    {50111, S("Next")},
    {50112, S("Remove All")},
    {50113, S("Plain")},
    {50114, S("Cylinder")},
    {50115, S("panovw.log")},
    {50116, S("style")},
    {50117, S("Large")},
    {50118, S("%d mm Lens")},
    {50119, S("Automatic")},
    {50120, S("Telephoto ")},
    {50121, S("Small")},
    {50122, S("Medium")},
    {50123, S("Export to HTML file error.")},
    {50124, S("The photo size is zero.")},
    {50125, S("Cannot locate the file.")},
    {50126, S("Save file error.")},
    {50127, S("Cannot delete the file.")},
    {50128, S("Must include at least 2 photos.")},
    {50129, S("Please place photos into proper space.")},
    {50130, S("bar.log")},
    {50131, S("The photo's dimension must be between 1:2 and 2:1 (cannot be long and narrow or tall and thin).")},
    {50132, S("Open file error.")},
    {50133, S("Markers cannot be placed in an exact position, please try again.")},
    {50134, S("Must include at least 3 photos.")},
    {50135, S("Must include at least 6 photos.")},
    {50136, S("The photo's dimension must be between 1:2 and 2:1 (cannot be long and narrow or tall and thin).")},
    {50137, S("Not enough memory. Quit the program.")},
    {50140, S("Please change the crop box again to match the photos you have selected.")},
    {50141, S("title1.800")},
    {50142, S("title2.800")},
    {50143, S("This file format is not supported in this version.")},
    {50144, S("LZW Compression is not supported in this version.")},
    {50145, S("inch")},
    {50146, S("dpi")},
    {50147, S("page")},
    {50148, S("pages")},
    {50149, S("This Album already exists!")},
    // The program's own addition: a missing or damaged skin file.
    {50150, S("The program cannot start: its skin file %s %s. Please install the program again.")},
    {52380, S("24-bit RGB")},
    {52381, S("8-bit Grayscale")},
    {52382, S("Thumbnail (128 by 192)")},
    {52383, S("Small (256 by 384)")},
    {52384, S("Medium (512 by 768)")},
    {52385, S("Large (1024 by 1536)")},
    {52386, S("Full (2048 by 3072)")},
    {52388, S("Warning")},
  };
  return rows;
}

class VmdresTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { module_ = LoadLibraryA("vmdres.dll"); }
  static void TearDownTestSuite() {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "vmdres.dll not found beside the test"; }

  /// The raw resource text of a string id, without conversion or truncation.
  static std::string RawString(UINT id) {
    const WCHAR* text = nullptr;
    int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::string result;
    for (int i = 0; i < length; ++i) result.push_back(static_cast<char>(text[i]));
    return result;
  }

  /// An export of the library as a function pointer of the given type.
  template <typename Fn>
  static Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

  static HMODULE module_;
};

HMODULE VmdresTest::module_ = nullptr;

TEST_F(VmdresTest, EveryStringMatchesTheTable) {
  for (const StringRow& row : ExpectedStrings()) {
    EXPECT_EQ(RawString(row.id), row.text) << "string " << row.id;
  }
}

BOOL CALLBACK CountStrings(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) {
  // A string block holds 16 counted UTF-16 strings.
  auto* ids = reinterpret_cast<std::vector<UINT>*>(param);
  UINT block = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
  HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(6));
  const WORD* p = static_cast<const WORD*>(LockResource(LoadResource(module, info)));
  for (UINT i = 0; i < 16; ++i) {
    WORD length = *p++;
    if (length != 0) ids->push_back((block - 1) * 16 + i);
    p += length;
  }
  return TRUE;
}

TEST_F(VmdresTest, HoldsNoStringsBeyondTheTable) {
  std::vector<UINT> ids;
  EnumResourceNamesA(module_, MAKEINTRESOURCEA(6), CountStrings, reinterpret_cast<LONG_PTR>(&ids));
  std::vector<UINT> expected;
  for (const StringRow& row : ExpectedStrings()) expected.push_back(row.id);
  EXPECT_EQ(ids, expected);
}

TEST_F(VmdresTest, KeepsLeadingAndTrailingBlanks) {
  char buffer[64];
  ASSERT_EQ(LoadStringA(module_, 50016, buffer, sizeof buffer), 16);
  EXPECT_STREQ(buffer, "  Stitch Wizard ");
  ASSERT_EQ(LoadStringA(module_, 50005, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, " Inch");
  ASSERT_EQ(LoadStringA(module_, 50120, buffer, sizeof buffer), 10);
  EXPECT_STREQ(buffer, "Telephoto ");
}

TEST_F(VmdresTest, FilterListsSurviveTheNarrowLoad) {
  // The open and save dialogs take the filters through LoadStringA: the NULs
  // between descriptions and patterns must come through with the full length.
  for (UINT id : {2503u, 2504u, 2505u, 2506u}) {
    std::string expected;
    for (const StringRow& row : ExpectedStrings())
      if (row.id == id) expected = row.text;
    char buffer[512] = {};
    int length = LoadStringA(module_, id, buffer, sizeof buffer);
    ASSERT_EQ(length, static_cast<int>(expected.size())) << id;
    EXPECT_EQ(std::string(buffer, length), expected) << id;
    EXPECT_EQ(expected.back(), '\0') << "the last pattern is ended by a NUL too";
  }
}

TEST_F(VmdresTest, BothWarningCaptionsReadWarning) {
  EXPECT_EQ(RawString(50026), "Warning");
  EXPECT_EQ(RawString(52388), "Warning");
}

TEST_F(VmdresTest, AcceleratorsGiveHelpAndClose) {
  HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(VMDRES_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8];
  int count = CopyAcceleratorTableA(table, entries, 8);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(entries[0].key, 112);
  EXPECT_EQ(entries[0].cmd, 40012);
  EXPECT_EQ(entries[0].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), FVIRTKEY);
  EXPECT_EQ(entries[1].key, 115);
  EXPECT_EQ(entries[1].cmd, 40007);
  EXPECT_EQ(entries[1].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), FVIRTKEY | FALT);
  DestroyAcceleratorTable(table);
}

struct MenuItemRow {
  UINT id;  // 0 for a separator
  const char* text;
};

void ExpectPopup(HMENU popup, const std::vector<MenuItemRow>& items) {
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    MENUITEMINFOA info = {};
    char text[64] = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info));
    if (items[i].id == 0) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "item " << i;
      continue;
    }
    EXPECT_EQ(info.wID, items[i].id);
    EXPECT_STREQ(text, items[i].text);
  }
}

TEST_F(VmdresTest, AlbumMenuHasItsEightEntries) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(VMDRES_MENU_ALBUM));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  char title[32] = {};
  GetMenuStringA(menu, 0, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "Album");
  ExpectPopup(GetSubMenu(menu, 0), {{40001, "C&ut"}, {40002, "&Copy"}, {40003, "&Paste"},
                                    {40004, "&Delete"}, {0, ""}, {40005, "P&roperties"},
                                    {0, ""}, {40006, "&Help"}});
  DestroyMenu(menu);
}

TEST_F(VmdresTest, ContextMenuHasOneHelpEntry) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(VMDRES_MENU_CONTEXT));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  ASSERT_NE(GetSubMenu(menu, 0), nullptr);
  ExpectPopup(GetSubMenu(menu, 0), {{40013, "Help"}});
  DestroyMenu(menu);
}

struct ControlRow {
  int id;
  const char* className;  // compared without regard to case
  const char* text;       // nullptr: not compared
};

struct DialogCase {
  int id;
  const char* caption;
  bool child;
  const char* face;  // nullptr: not compared
  std::vector<ControlRow> controls;
};

std::ostream& operator<<(std::ostream& out, const DialogCase& c) { return out << "dialog " << c.id; }

/// One control of a dialog template, as the dialog manager will create it.
struct TemplateControl {
  int id = 0;
  DWORD style = 0;
  std::string className;
  std::string text;
};

/// A DLGTEMPLATEEX read field by field, so the checks need no display.
struct DialogTemplate {
  bool valid = false;
  DWORD style = 0;
  std::string caption;
  int pointSize = 0;
  std::string face;
  std::vector<TemplateControl> controls;
};

/// Reads a sz_Or_Ord field; ordinals of the predefined classes become names.
const WORD* ReadNameOrOrdinal(const WORD* p, std::string* out) {
  static const char* const kClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar",
                                         "ComboBox"};
  out->clear();
  if (*p == 0xFFFF) {
    WORD ordinal = p[1];
    if (ordinal >= 0x80 && ordinal <= 0x85) {
      *out = kClasses[ordinal - 0x80];
    } else {
      *out = "#" + std::to_string(ordinal);
    }
    return p + 2;
  }
  while (*p != 0) out->push_back(static_cast<char>(*p++));
  return p + 1;
}

const WORD* AlignToDword(const WORD* p, const WORD* base) {
  size_t offset = reinterpret_cast<const char*>(p) - reinterpret_cast<const char*>(base);
  return reinterpret_cast<const WORD*>(reinterpret_cast<const char*>(base) + ((offset + 3) & ~3u));
}

DialogTemplate ReadDialogTemplate(HMODULE module, int id) {
  DialogTemplate result;
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
  if (info == nullptr) return result;
  const WORD* base = static_cast<const WORD*>(LockResource(LoadResource(module, info)));
  if (base == nullptr || base[0] != 1 || base[1] != 0xFFFF) return result;
  const auto* bytes = reinterpret_cast<const BYTE*>(base);
  memcpy(&result.style, bytes + 12, 4);
  WORD count = base[8];
  const WORD* p = base + 13;
  std::string ignored;
  p = ReadNameOrOrdinal(p, &ignored);  // menu
  p = ReadNameOrOrdinal(p, &ignored);  // class
  p = ReadNameOrOrdinal(p, &result.caption);
  if (result.style & DS_SETFONT) {
    result.pointSize = p[0];
    p += 3;  // point size, weight, italic and charset
    p = ReadNameOrOrdinal(p, &result.face);
  }
  for (WORD i = 0; i < count; ++i) {
    p = AlignToDword(p, base);
    TemplateControl control;
    memcpy(&control.style, reinterpret_cast<const BYTE*>(p) + 8, 4);
    DWORD controlId = 0;
    memcpy(&controlId, reinterpret_cast<const BYTE*>(p) + 20, 4);
    control.id = static_cast<int>(controlId);
    p += 12;
    p = ReadNameOrOrdinal(p, &control.className);
    p = ReadNameOrOrdinal(p, &control.text);
    WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    result.controls.push_back(control);
  }
  result.valid = true;
  return result;
}

const TemplateControl* FindControl(const DialogTemplate& dialog, int id) {
  for (const TemplateControl& control : dialog.controls)
    if (control.id == id) return &control;
  return nullptr;
}

bool HasLabel(const DialogTemplate& dialog, const char* text) {
  for (const TemplateControl& control : dialog.controls)
    if (control.text == text) return true;
  return false;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class VmdresDialogTest : public VmdresTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(VmdresDialogTest, TemplateHoldsItsControls) {
  const DialogCase& c = GetParam();
  DialogTemplate dialog = ReadDialogTemplate(module_, c.id);
  ASSERT_TRUE(dialog.valid);
  EXPECT_EQ(dialog.caption, c.caption);
  EXPECT_EQ((dialog.style & WS_CHILD) != 0, c.child);
  EXPECT_EQ((dialog.style & WS_CAPTION) == WS_CAPTION, !c.child);
  if (c.face != nullptr) {
    EXPECT_EQ(dialog.face, c.face);
    EXPECT_EQ(dialog.pointSize, 8);
  }
  for (const ControlRow& row : c.controls) {
    const TemplateControl* control = FindControl(dialog, row.id);
    ASSERT_NE(control, nullptr) << "control " << row.id;
    EXPECT_EQ(lstrcmpiA(control->className.c_str(), row.className), 0)
        << row.id << " is " << control->className;
    if (row.text != nullptr) {
      EXPECT_EQ(control->text, row.text) << "control " << row.id;
    }
  }
}

TEST_P(VmdresDialogTest, CreatesAsAWindow) {
  // Needs a display; the template checks above cover the contents without one.
  const DialogCase& c = GetParam();
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (parent == nullptr) GTEST_SKIP() << "no display";
  HWND dialog = CreateDialogParamA(module_, MAKEINTRESOURCEA(c.id), c.child ? parent : nullptr,
                                   QuietDialogProc, 0);
  ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
  for (const ControlRow& row : c.controls) EXPECT_NE(GetDlgItem(dialog, row.id), nullptr) << row.id;
  DestroyWindow(dialog);
  DestroyWindow(parent);
}

INSTANTIATE_TEST_SUITE_P(
    AllDialogs, VmdresDialogTest,
    ::testing::Values(
        DialogCase{94, "Photo CD Options", false, "MS Sans Serif",
                   {{300, "ComboBox", nullptr}, {301, "ComboBox", nullptr},
                    {1, "Button", "&OK"}, {2, "Button", "&Cancel"}}},
        DialogCase{198, "Delete Options", false, nullptr,
                   {{3003, "Button", "Delete thumbnails only"},
                    {3004, "Button", "Delete thumbnails from album and delete image files from disk"},
                    {1, "Button", "OK"}, {2, "Button", "Cancel"}}},
        DialogCase{203, "Sort Album", false, "Arial",
                   {{90, "Button", "By &Name"}, {91, "Button", "By &Type"},
                    {92, "Button", "By &Size"}, {93, "Button", "By &Date"},
                    {89, "Button", "&Reverse Order"}, {1, "Button", "&OK"},
                    {2, "Button", "&Cancel"}}},
        DialogCase{243, "", false, nullptr,
                   {{1, "Button", "Yes"}, {2, "Button", "No,Thanks"},
                    {1079, "Button", "Don't show this message in future."}}},
        DialogCase{804, "Properties", false, nullptr,
                   {{8006, "Edit", nullptr}, {8000, "Edit", nullptr}, {8002, "Edit", nullptr},
                    {8003, "Edit", nullptr}, {8004, "Edit", nullptr},
                    {8005, "Static", "Image Size"}, {1, "Button", "OK"}}},
        DialogCase{21010, "", true, nullptr,
                   {{1119, "Static", nullptr}, {203, "Static", "Quality"},
                    {201, "ScrollBar", nullptr}, {202, "Button", "&Compress"}}}));

TEST_F(VmdresTest, FixedLabelsArePresent) {
  struct Label {
    int dialog;
    const char* text;
  };
  for (Label label : {Label{94, "Data Type:"}, Label{94, "Resolution:"},
                      Label{198, "WARNING: Selecting this option will PERMANENTLY delete the "
                                 "selected image files."},
                      Label{243, "To view the HTML page in Internet Explorer, you may need a "
                                 "VRML-plug-in for your web-browser. Would you like to download "
                                 "and install it?"},
                      Label{804, "File Location"}, Label{804, "File Name"}, Label{804, "File Type"},
                      Label{804, "File Size"}, Label{804, "Date Modified"}}) {
    EXPECT_TRUE(HasLabel(ReadDialogTemplate(module_, label.dialog), label.text))
        << label.dialog << ": " << label.text;
  }
}

TEST_F(VmdresTest, PropertyFieldsAreReadOnly) {
  DialogTemplate dialog = ReadDialogTemplate(module_, VMDRES_DLG_PROPERTIES);
  for (int id : {8006, 8000, 8002, 8003, 8004}) {
    const TemplateControl* control = FindControl(dialog, id);
    ASSERT_NE(control, nullptr) << id;
    EXPECT_TRUE(control->style & ES_READONLY) << id;
  }
}

TEST_F(VmdresTest, ChoiceButtonsAreRadioAndCheckBoxes) {
  DialogTemplate sort = ReadDialogTemplate(module_, VMDRES_DLG_SORT);
  for (int id : {90, 91, 92, 93}) {
    ASSERT_NE(FindControl(sort, id), nullptr);
    EXPECT_EQ(FindControl(sort, id)->style & 0x0F, static_cast<DWORD>(BS_AUTORADIOBUTTON)) << id;
  }
  EXPECT_EQ(FindControl(sort, 89)->style & 0x0F, static_cast<DWORD>(BS_AUTOCHECKBOX));
  DialogTemplate del = ReadDialogTemplate(module_, VMDRES_DLG_DELETE);
  for (int id : {3003, 3004}) {
    ASSERT_NE(FindControl(del, id), nullptr);
    EXPECT_EQ(FindControl(del, id)->style & 0x0F, static_cast<DWORD>(BS_AUTORADIOBUTTON)) << id;
  }
  DialogTemplate save = ReadDialogTemplate(module_, VMDRES_DLG_SAVE_EXTENSION);
  ASSERT_NE(FindControl(save, 201), nullptr);
  EXPECT_EQ(FindControl(save, 201)->style & SBS_VERT, 0u) << "horizontal scroll bar";
  EXPECT_EQ(FindControl(save, 202)->style & 0x0F, static_cast<DWORD>(BS_AUTOCHECKBOX));
}

// --- exports -------------------------------------------------------------

struct IntExport {
  const char* name;
  int value;
};

std::ostream& operator<<(std::ostream& out, const IntExport& e) { return out << e.name; }

class VmdresIntExportTest : public VmdresTest, public ::testing::WithParamInterface<IntExport> {};

TEST_P(VmdresIntExportTest, AnswersItsValue) {
  using Fn = int(__cdecl*)();
  auto fn = Export<Fn>(GetParam().name);
  ASSERT_NE(fn, nullptr) << GetParam().name << " is not exported under its plain name";
  EXPECT_EQ(fn(), GetParam().value);
  EXPECT_EQ(fn(), GetParam().value) << "needs no set-up and keeps no state";
}

INSTANTIATE_TEST_SUITE_P(FontMetrics, VmdresIntExportTest,
                         ::testing::Values(IntExport{"VMDRES_GetFontCharSet", 0},
                                           IntExport{"VMDRES_GetFontHeight_AList", 15},
                                           IntExport{"VMDRES_GetFontHeight_AlbName", 16},
                                           IntExport{"VMDRES_GetPointSize_Tips", 13},
                                           IntExport{"VMDRES_GetFontHeight_Hint", 20},
                                           IntExport{"VMDRES_GetFontHeight_Popup", 14},
                                           IntExport{"VMDRES_GetFontHeight_Print", 20},
                                           IntExport{"fnVmdRes", 42}));

struct FaceExport {
  const char* name;
  const char* face;
};

std::ostream& operator<<(std::ostream& out, const FaceExport& e) { return out << e.name; }

class VmdresFaceExportTest : public VmdresTest, public ::testing::WithParamInterface<FaceExport> {};

TEST_P(VmdresFaceExportTest, CopiesTheFaceName) {
  using Fn = int(__cdecl*)(char*);
  auto fn = Export<Fn>(GetParam().name);
  ASSERT_NE(fn, nullptr);
  char buffer[32];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(fn(buffer), 1);
  EXPECT_STREQ(buffer, GetParam().face);
  EXPECT_EQ(fn(nullptr), 0);
}

INSTANTIATE_TEST_SUITE_P(FaceNames, VmdresFaceExportTest,
                         ::testing::Values(FaceExport{"VMDRES_GetFont", "Arial"},
                                           FaceExport{"VMDRES_GetAlbFont", "System"}));

TEST_F(VmdresTest, ExportsTheCounterAndTheClass) {
  auto* counter = reinterpret_cast<int*>(GetProcAddress(module_, "nVmdRes"));
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(*counter, 0);
  EXPECT_NE(GetProcAddress(module_, "_ZN7CVmdResC1Ev"), nullptr) << "default constructor";
  EXPECT_NE(GetProcAddress(module_, "_ZN7CVmdResaSERKS_"), nullptr) << "assignment";
}

TEST_F(VmdresTest, NoDecoratedFontNames) {
  EXPECT_EQ(GetProcAddress(module_, "_VMDRES_GetFont"), nullptr);
  EXPECT_EQ(GetProcAddress(module_, "VMDRES_GetFont@4"), nullptr);
}

TEST_F(VmdresTest, CarriesVersionInformation) {
  char path[MAX_PATH];
  GetModuleFileNameA(module_, path, MAX_PATH);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\ProductVersion",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, "3.0.0.1");
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, "vmdres.dll");
  WORD* language = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&language), &length));
  EXPECT_EQ(language[0], 0x409) << "US English";
}

}  // namespace

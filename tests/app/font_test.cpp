// Font specs and the six fonts made from them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_environment.h"
#include "app/font_spec.h"
#include "base/handles.h"
#include "app_test_support.h"

namespace tarnuvo {
namespace {

using test::sjis;

LOGFONTA describe(HFONT font) {
    LOGFONTA out = {};
    EXPECT_EQ(GetObjectA(font, sizeof out, &out), static_cast<int>(sizeof out));
    return out;
}

TEST(FontSpec, OnlySeparatorsOrNothingGiveNoFont) {
    FontSpec spec;
    EXPECT_FALSE(parseFontSpec("", spec));
    EXPECT_FALSE(parseFontSpec(",", spec));
    EXPECT_FALSE(parseFontSpec(",;,;;,", spec));
    EXPECT_FALSE(parseFontSpec(nullptr, spec));
    LOGFONTA font;
    EXPECT_FALSE(fontDescription(";;", 12, false, false, font));
}

TEST(FontSpec, PiecesAreSplitAtRunsOfEitherSeparator) {
    FontSpec spec;
    ASSERT_TRUE(parseFontSpec(";,Arial,;;20;,1,,1,9", spec));
    EXPECT_STREQ(spec.face, "Arial");
    EXPECT_TRUE(spec.hasSize);
    EXPECT_EQ(spec.size, 20);
    EXPECT_TRUE(spec.hasWeight);
    EXPECT_EQ(spec.weight, 1);
    EXPECT_TRUE(spec.hasItalic);
    EXPECT_EQ(spec.italic, 1);

    ASSERT_TRUE(parseFontSpec("MS UI Gothic", spec));
    EXPECT_STREQ(spec.face, "MS UI Gothic");  // spaces belong to the face
    EXPECT_FALSE(spec.hasSize);
    EXPECT_FALSE(spec.hasWeight);
    EXPECT_FALSE(spec.hasItalic);
}

TEST(FontSpec, SizeIsTheHeight) {
    LOGFONTA font;
    ASSERT_TRUE(fontDescription("Arial;20", 12, false, false, font));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    ASSERT_TRUE(fontDescription("Arial,-13", 12, false, false, font));
    EXPECT_EQ(font.lfHeight, -13);
    ASSERT_TRUE(fontDescription("Arial,big", 12, false, false, font));
    EXPECT_EQ(font.lfHeight, 0);  // not a number: 0, the face's own size
}

TEST(FontSpec, WeightMinusOneTakesTheDefaultZeroRegularOtherBold) {
    LOGFONTA font;
    for (bool defaultBold : {false, true}) {
        ASSERT_TRUE(fontDescription("Tahoma,14,-1", 12, defaultBold, false, font));
        EXPECT_EQ(font.lfWeight, defaultBold ? FW_BOLD : FW_NORMAL);
        ASSERT_TRUE(fontDescription("Tahoma,14,0", 12, defaultBold, false, font));
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        ASSERT_TRUE(fontDescription("Tahoma,14,1", 12, defaultBold, false, font));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        ASSERT_TRUE(fontDescription("Tahoma,14,700", 12, defaultBold, false, font));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        ASSERT_TRUE(fontDescription("Tahoma,14,-2", 12, defaultBold, false, font));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
    }
}

TEST(FontSpec, ItalicPiece) {
    LOGFONTA font;
    ASSERT_TRUE(fontDescription("Arial,20,1,1", 12, false, false, font));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    ASSERT_TRUE(fontDescription("Arial,20,1,0", 12, false, true, font));
    EXPECT_FALSE(font.lfItalic);
    ASSERT_TRUE(fontDescription("Arial,20,1", 12, false, true, font));
    EXPECT_TRUE(font.lfItalic);
}

TEST(FontSpec, OnlyThe255FirstCharactersCount) {
    // The size piece starts at character 255 and is lost.
    std::string spec = std::string(254, 'F') + ",20";
    FontSpec parsed;
    ASSERT_TRUE(parseFontSpec(spec.c_str(), parsed));
    EXPECT_EQ(std::string(parsed.face), std::string(254, 'F'));
    EXPECT_FALSE(parsed.hasSize);
}

TEST(FontSpec, JapaneseFacesStayWhole) {
    LOGFONTA font;
    std::string face = sjis("ＭＳ Ｐゴシック");
    ASSERT_TRUE(fontDescription((face + ",16,1").c_str(), 12, false, false, font));
    EXPECT_EQ(std::string(font.lfFaceName), face);
    EXPECT_EQ(font.lfHeight, 16);
    // A face too long for the 31 bytes of the record loses whole characters
    // only: 30 ASCII bytes and a double-byte character make 32.
    std::string longFace = std::string(30, 'a') + sjis("表");
    ASSERT_TRUE(fontDescription(longFace.c_str(), 12, false, false, font));
    EXPECT_EQ(std::string(font.lfFaceName), std::string(30, 'a'));
    std::string fitting = std::string(29, 'a') + sjis("表");
    ASSERT_TRUE(fontDescription(fitting.c_str(), 12, false, false, font));
    EXPECT_EQ(std::string(font.lfFaceName), fitting);
}

class Fonts : public ::testing::Test {
protected:
    test::ScratchDir scratch;
    std::string module = scratch / "Tarnuvo.exe";
    AppEnvironment env{EnvironmentPaths{module.c_str(), scratch.path().c_str()}};
};

TEST_F(Fonts, DefaultInfoSpecMakesARegularAndABoldFont) {
    env.applyFontDefaults(Win2000 | WinNT);
    env.createFonts();
    ASSERT_TRUE(env.titleFont && env.timeFont && env.infoFont && env.infoBoldFont && env.fileFont &&
                env.listFont);
    EXPECT_EQ(describe(env.titleFont.get()).lfHeight, 18);
    EXPECT_EQ(describe(env.titleFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.infoFont.get()).lfHeight, 14);
    EXPECT_EQ(describe(env.infoFont.get()).lfWeight, FW_NORMAL);
    EXPECT_EQ(describe(env.infoBoldFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.fileFont.get()).lfWeight, FW_NORMAL);
    LOGFONTA list = describe(env.listFont.get());
    EXPECT_STREQ(list.lfFaceName, "MS UI Gothic");
    EXPECT_EQ(list.lfHeight, 12);
    EXPECT_EQ(list.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(list.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(list.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
}

TEST_F(Fonts, ExplicitWeightMakesBothInfoFontsTheSame) {
    lstrcpyA(env.fontInfo, "Tahoma,14,1");
    env.createFonts();
    EXPECT_EQ(describe(env.infoFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.infoBoldFont.get()).lfWeight, FW_BOLD);
    lstrcpyA(env.fontInfo, "Tahoma,14,0");
    env.createFonts();
    EXPECT_EQ(describe(env.infoFont.get()).lfWeight, FW_NORMAL);
    EXPECT_EQ(describe(env.infoBoldFont.get()).lfWeight, FW_NORMAL);
}

TEST_F(Fonts, SlotDefaultsApplyToAFaceOnly) {
    for (int slot : {FontTitleSlot, FontTimeSlot, FontInfoSlot, FontFileSlot, FontListSlot})
        lstrcpyA(env.fontSpecs[slot], "Arial");
    env.createFonts();
    EXPECT_EQ(describe(env.titleFont.get()).lfHeight, 16);
    EXPECT_EQ(describe(env.titleFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.timeFont.get()).lfHeight, 16);
    EXPECT_EQ(describe(env.timeFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.infoFont.get()).lfHeight, 12);
    EXPECT_EQ(describe(env.infoFont.get()).lfWeight, FW_NORMAL);
    EXPECT_EQ(describe(env.infoBoldFont.get()).lfWeight, FW_BOLD);
    EXPECT_EQ(describe(env.fileFont.get()).lfHeight, 12);
    EXPECT_EQ(describe(env.fileFont.get()).lfWeight, FW_NORMAL);
    EXPECT_EQ(describe(env.listFont.get()).lfHeight, 12);
}

TEST_F(Fonts, EmptyOrSeparatorOnlySpecLeavesTheHandleNull) {
    lstrcpyA(env.fontTitle, ",,;");
    env.fontFile[0] = '\0';
    env.createFonts();
    EXPECT_FALSE(env.titleFont);
    EXPECT_FALSE(env.fileFont);
    EXPECT_TRUE(env.timeFont);
    EXPECT_FALSE(env.fontFromSpec(FontUnusedSlot, 12, false, false));
    EXPECT_FALSE(env.fontFromSpec(-1, 12, false, false));
    EXPECT_FALSE(env.fontFromSpec(FontSlotCount, 12, false, false));
}

TEST_F(Fonts, JapaneseDefaultsMakeFontsWithTheirFaces) {
    env.applyFontDefaults(Win9x);
    env.createFonts();
    ASSERT_TRUE(env.titleFont);
    EXPECT_EQ(std::string(describe(env.titleFont.get()).lfFaceName), sjis("ＭＳ Ｐゴシック"));
    EXPECT_EQ(describe(env.titleFont.get()).lfHeight, 16);
    EXPECT_EQ(std::string(describe(env.infoFont.get()).lfFaceName), sjis("ＭＳ ゴシック"));
    EXPECT_EQ(describe(env.infoFont.get()).lfWeight, FW_NORMAL);
    EXPECT_EQ(describe(env.infoBoldFont.get()).lfWeight, FW_BOLD);
}

TEST(Handles, SelectedObjectPutsThePreviousObjectBack) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    UniqueFont font(CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    ASSERT_TRUE(font);
    HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    {
        SelectedObject selected(dc.get(), font.get());
        EXPECT_TRUE(selected);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    SelectedObject nothing(dc.get(), nullptr);
    EXPECT_FALSE(nothing);
}

TEST(Handles, MovedOwnerClosesOnce) {
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = event.get();
    UniqueHandle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.get(), raw);
    moved.reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

}  // namespace
}  // namespace tarnuvo

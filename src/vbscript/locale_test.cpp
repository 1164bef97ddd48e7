// The locale an engine starts in: from the user's environment names, and for the whole process.
#include "vbscript/locale.h"

#include <gtest/gtest.h>

#include "vbscript/engine.h"
#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {
using testing::ScriptRun;

TEST(StartLocale, EnvironmentNamesMapToTheNearestKnownLocale) {
    EXPECT_EQ(LcidFromPosixName("de_DE.UTF-8"), 1031);
    EXPECT_EQ(LcidFromPosixName("en_GB"), 2057);
    EXPECT_EQ(LcidFromPosixName("sv_SE.utf8@euro"), 1053);
    // Another region of a known language falls back to the language's locale.
    EXPECT_EQ(LcidFromPosixName("fr_CA.UTF-8"), 1036);
    EXPECT_EQ(LcidFromPosixName("pt_PT"), 1046);
    EXPECT_EQ(LcidFromPosixName("en_AU"), 1033);
    // The C locale, an empty name and unknown languages are US English.
    for (const char* name : {"C", "POSIX", "C.UTF-8", "", "ja_JP.UTF-8", "x"})
        EXPECT_EQ(LcidFromPosixName(name), 1033) << name;
}

TEST(StartLocale, EnginesCreatedAfterTheProcessLocaleIsSetStartInIt) {
    ASSERT_FALSE(SetDefaultStartLocale(4242));
    ASSERT_TRUE(SetDefaultStartLocale(1049));
    ScriptRun russian;
    EXPECT_EQ(russian.Run("Print GetLocale, CStr(2.5), SetLocale(1033), SetLocale(0), GetLocale"),
              "1049 2,5 1049 1033 1049");
    ASSERT_TRUE(SetDefaultStartLocale(1033));
    ScriptRun english;
    EXPECT_EQ(english.Run("Print GetLocale, CStr(2.5)"), "1033 2.5");
}

}  // namespace
}  // namespace taviro::vbscript

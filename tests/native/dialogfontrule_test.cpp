// The dialog font chosen by the version of Windows.
#include "DialogFontRule.h"

#include <gtest/gtest.h>

namespace brevalo {
namespace {

const DialogFont SansSerif8{"MS Sans Serif", 8};

TEST(DialogFontRule, Windows2000AndXpGetTahomaAtTheSameSize) {
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 5, 0), (DialogFont{"Tahoma", 8}));
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 5, 1), (DialogFont{"Tahoma", 8}));
    EXPECT_EQ(AdjustedDialogFont({"tahoma", 10}, 5, 1), (DialogFont{"tahoma", 10}));
    // 5.2 (Server 2003, XP x64) is another version.
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 5, 2), SansSerif8);
}

TEST(DialogFontRule, VersionSixGetsSegoeUiOnePointLarger) {
    for (unsigned minor : {0u, 1u, 2u, 3u})
        EXPECT_EQ(AdjustedDialogFont(SansSerif8, 6, minor), (DialogFont{"Segoe UI", 9})) << minor;
    // Already the font: no second point.
    EXPECT_EQ(AdjustedDialogFont({"Segoe UI", 9}, 6, 1), (DialogFont{"Segoe UI", 9}));
    EXPECT_EQ(AdjustedDialogFont({"SEGOE UI", 9}, 6, 2), (DialogFont{"SEGOE UI", 9}));
    // Applied twice, the size grows only once.
    const DialogFont once = AdjustedDialogFont(SansSerif8, 6, 1);
    EXPECT_EQ(AdjustedDialogFont(once, 6, 1), once);
}

TEST(DialogFontRule, OtherVersionsKeepTheFont) {
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 4, 10), SansSerif8);
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 10, 0), SansSerif8);
    EXPECT_EQ(AdjustedDialogFont(SansSerif8, 7, 0), SansSerif8);
}

} // namespace
} // namespace brevalo

// Placing the main window from the rectangle the settings file holds: whatever the numbers, the
// window lands whole inside the screen area and no larger than it.
#include "settings/window_placement.h"

#include <climits>
#include <gtest/gtest.h>

namespace yomi6 {
namespace {

constexpr WindowRect kScreen{0, 0, 800, 600};

::testing::AssertionResult Same(const WindowRect& got, const WindowRect& want) {
    if (got.left == want.left && got.top == want.top && got.right == want.right &&
        got.bottom == want.bottom) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << got.left << ", " << got.top << ", " << got.right << ", " << got.bottom
           << "), want (" << want.left << ", " << want.top << ", " << want.right << ", "
           << want.bottom << ")";
}

TEST(WindowPlacementTest, ARectangleOnTheScreenStaysAsItWas) {
    EXPECT_TRUE(Same(FitWindowRect({0, 0, 580, 350}, kScreen), {0, 0, 580, 350}));
    EXPECT_TRUE(Same(FitWindowRect({40, 30, 540, 330}, kScreen), {40, 30, 540, 330}));
    EXPECT_TRUE(Same(FitWindowRect({0, 0, 800, 600}, kScreen), {0, 0, 800, 600}));
}

TEST(WindowPlacementTest, ALargerRectangleIsCutToTheScreen) {
    EXPECT_TRUE(Same(FitWindowRect({0, 0, 100000, 100000}, kScreen), kScreen));
    EXPECT_TRUE(Same(FitWindowRect({100, 50, 100000, 500}, kScreen), {0, 50, 800, 500}));
    EXPECT_TRUE(Same(FitWindowRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kScreen), kScreen));
}

TEST(WindowPlacementTest, ARectangleOffTheScreenIsMovedOntoIt) {
    // Keeping its size, as close to where it was as the screen allows.
    EXPECT_TRUE(Same(FitWindowRect({50000, 50000, 50500, 50300}, kScreen), {300, 300, 800, 600}));
    EXPECT_TRUE(Same(FitWindowRect({-300, -200, 200, 100}, kScreen), {0, 0, 500, 300}));
    EXPECT_TRUE(Same(FitWindowRect({700, 10, 1000, 110}, kScreen), {500, 10, 800, 110}));
    EXPECT_TRUE(Same(FitWindowRect({INT_MAX - 10, INT_MIN, INT_MAX, INT_MIN + 10}, kScreen),
                     {790, 0, 800, 10}));
}

TEST(WindowPlacementTest, ARectangleWithoutAreaGetsTheDefaultSize) {
    // X1=Y1=50000 with the default X2 and Y2: right and bottom lie before left and top.
    EXPECT_TRUE(Same(FitWindowRect({50000, 50000, 580, 350}, kScreen), {220, 250, 800, 600}));
    EXPECT_TRUE(Same(FitWindowRect({0, 0, INT_MIN, 350}, kScreen), {0, 0, 580, 350}));
    EXPECT_TRUE(
        Same(FitWindowRect({INT_MAX, INT_MAX, INT_MIN, INT_MIN}, kScreen), {220, 250, 800, 600}));
    EXPECT_TRUE(Same(FitWindowRect({10, 10, 10, 10}, kScreen), {10, 10, 590, 360}));
}

TEST(WindowPlacementTest, TheAreaNeedNotStartAtTheOrigin) {
    // A panel along the top, and a second screen left of the first.
    EXPECT_TRUE(Same(FitWindowRect({0, 0, 580, 350}, {0, 24, 800, 600}), {0, 24, 580, 374}));
    const WindowRect left{-1280, 0, 0, 1024};
    EXPECT_TRUE(Same(FitWindowRect({-1000, 100, -400, 500}, left), {-1000, 100, -400, 500}));
    EXPECT_TRUE(Same(FitWindowRect({-100, 100, 500, 500}, left), {-600, 100, 0, 500}));
    // A screen smaller than the default size.
    EXPECT_TRUE(Same(FitWindowRect({0, 0, 0, 0}, {10, 10, 310, 210}), {10, 10, 310, 210}));
}

} // namespace
} // namespace yomi6

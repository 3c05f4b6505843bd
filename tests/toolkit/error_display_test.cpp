#include "support/tarvel_test.h"

#include "toolkit/error_display.h"
#include "toolkit/errors.h"

#include <stdexcept>

namespace {

using ErrorGuard = TarvelTest;

TEST_F(ErrorGuard, EndsTheHandlerShowsTheMessageAndKeepsWhatWasWritten) {
    CellTable grid(2, 2);
    bool ranOn = false;
    guarded([&] {
        grid.setCell(0, 1, "written");
        throw EConvertError("'x' is not a valid floating point value");
        ranOn = true;
    });
    EXPECT_FALSE(ranOn);
    EXPECT_EQ(grid.cell(0, 1), "written");
    EXPECT_EQ(errors(), QStringList{"'x' is not a valid floating point value"});
}

TEST_F(ErrorGuard, ShowsAnyStandardErrorTheSameWay) {
    guarded([] { throw std::length_error("too long"); });
    guarded([] { throw EMathError("Floating point overflow"); });
    EXPECT_EQ(errors(), (QStringList{"too long", "Floating point overflow"}));
}

TEST_F(ErrorGuard, SaysNothingWhenTheHandlerSucceeds) {
    guarded([] {});
    EXPECT_TRUE(errors().isEmpty());
}

} // namespace

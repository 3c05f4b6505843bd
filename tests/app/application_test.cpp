#include "support/tarvel_test.h"

#include "app/application.h"

#include <QApplication>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOption>

#include <memory>

namespace {

using Application = TarvelTest;

TEST_F(Application, OnAScreenTooSmallTheWindowScrollsInsideIt) {
    auto* form = new TForm1;
    const std::unique_ptr<QWidget> shown(showFitted(*form, QRect(20, 30, 500, 400)));
    auto* frame = qobject_cast<QScrollArea*>(shown.get());
    ASSERT_TRUE(frame) << "a scrolling frame";
    EXPECT_EQ(frame->widget(), form);
    EXPECT_TRUE(QRect(20, 30, 500, 400).contains(frame->frameGeometry()))
        << "inside the free area, title bar and all";
    EXPECT_EQ(form->size(), QSize(574, 597)) << "the window keeps its size inside";
    EXPECT_EQ(frame->windowTitle(), "Tarvel");
    TForm1 fits;
    EXPECT_EQ(showFitted(fits, QRect(0, 0, 1024, 768)), &fits)
        << "a window that fits stays as it is";
}

// Grid lines come from the palette: as the style draws them on a light
// desktop, and still seen on a dark one.
TEST_F(Application, GridLinesShowOnLightAndDarkPalettes) {
    const auto gridLine = [](const QPalette& palette) {
        QStyleOption option;
        option.palette = palette;
        return QColor::fromRgba(
            QRgb(QApplication::style()->styleHint(QStyle::SH_Table_GridLineColor, &option)));
    };
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    EXPECT_EQ(gridLine(light), QColor(0xc7, 0xc7, 0xc7));
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::Text, Qt::white);
    EXPECT_GT(gridLine(dark).lightness() - 35, 40) << "lines that stand out from the base";
}

// The desktop finds the window's entry, icon and settings by this id.
TEST_F(Application, IsKnownToTheDesktopByItsId) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.tarvel.tarvel");
    EXPECT_EQ(QCoreApplication::organizationName(), "Tarvel");
    EXPECT_EQ(QCoreApplication::applicationName(), "Tarvel");
}

} // namespace

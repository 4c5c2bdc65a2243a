// The window itself, before any window logic is attached.
#include "shell/gtk/MainWindow.h"
#include "documents/SettingsObj.h"
#include "tests/gui/GuiKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(MainWindowTest, CaptionSizeStatusBarAndView) {
    InitGtk();
    TMainWindow window;
    window.Show();
    GtkWidget* view = window.GetView().GetWidget();
    ASSERT_TRUE(RunUntil([&] {
        GtkAllocation allocation;
        gtk_widget_get_allocation(view, &allocation);
        return gtk_widget_get_mapped(view) && allocation.height > 1;
    }));
    EXPECT_STREQ(gtk_window_get_title(window.GetWindow()), "Stellik");
    int width = 0, height = 0;
    gtk_window_get_size(window.GetWindow(), &width, &height);
    EXPECT_EQ(width, 761);
    EXPECT_EQ(height, 545);
    GtkAllocation bar, page;
    gtk_widget_get_allocation(window.GetStatusBar(), &bar);
    gtk_widget_get_allocation(view, &page);
    EXPECT_EQ(bar.height, 19);
    EXPECT_EQ(bar.width, 761);
    EXPECT_EQ(bar.y, 545 - 19) << "at the bottom";
    EXPECT_EQ(page.y, 0);
    EXPECT_EQ(page.width, 761);
    EXPECT_EQ(page.height, 545 - 19) << "the view fills the rest";

    const TWindowPlacement placement = window.GetPlacement();
    EXPECT_EQ(placement.Width, 761);
    EXPECT_EQ(placement.Height, 545);
    EXPECT_FALSE(placement.Maximized);
}

TEST(MainWindowTest, WithoutWindowLogicTheWindowClosesAtOnce) {
    InitGtk();
    TMainWindow window;
    window.Show();
    ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(window.GetWindow())); }));
    gtk_window_close(window.GetWindow());
    ASSERT_TRUE(RunUntil([&] { return window.IsClosed(); }));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(window.GetWindow())));
}

} // namespace
} // namespace stellik::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// The window follows the desktop: the light style it has without a preference, the dark style,
// high contrast and large text, set as GNOME sets them (GSettings, read by libadwaita; the X
// settings' font resolution, read by GTK under X11). Each picture of the main screen differs from
// the light one, its texts read on its page, and no text is cut or squeezed.
#include "ShellTestSupport.hpp"

#include <algorithm>
#include <cmath>

#include <gio/gio.h>
#include <gtkmm/label.h>
#include <gtkmm/settings.h>
#include <gtkmm/stylecontext.h>

namespace quorvel::guitest {
namespace {

void setDesktop(const char* schema, const char* key, GVariant* value)
{
    GSettings* settings = g_settings_new(schema);
    g_settings_set_value(settings, key, value);
    g_object_unref(settings);
}

void preferColours(const char* scheme)
{
    setDesktop("org.gnome.desktop.interface", "color-scheme", g_variant_new_string(scheme));
}

void highContrast(bool on)
{
    setDesktop("org.gnome.desktop.a11y.interface", "high-contrast", g_variant_new_boolean(on ? TRUE : FALSE));
}

double luminance(const Gdk::RGBA& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.get_red()) + 0.7152 * channel(c.get_green()) + 0.0722 * channel(c.get_blue());
}

// The contrast ratio of a text colour, laid over `ground` with its own opacity.
double contrast(const Gdk::RGBA& text, const Gdk::RGBA& ground)
{
    const double a = text.get_alpha();
    Gdk::RGBA seen;
    seen.set_rgba(text.get_red() * a + ground.get_red() * (1 - a), text.get_green() * a + ground.get_green() * (1 - a),
                  text.get_blue() * a + ground.get_blue() * (1 - a));
    const double l1 = luminance(seen), l2 = luminance(ground);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

GtkWidget* withClass(GtkWidget* w, const char* cssClass)
{
    if (gtk_widget_has_css_class(w, cssClass)) {
        return w;
    }
    for (GtkWidget* c = gtk_widget_get_first_child(w); c != nullptr; c = gtk_widget_get_next_sibling(c)) {
        if (GtkWidget* found = withClass(c, cssClass)) {
            return found;
        }
    }
    return nullptr;
}

void mappedLabels(GtkWidget* w, std::vector<GtkLabel*>& out)
{
    if (!gtk_widget_get_mapped(w)) {
        return;
    }
    if (GTK_IS_LABEL(w) && *gtk_label_get_text(GTK_LABEL(w)) != '\0') {
        out.push_back(GTK_LABEL(w));
    }
    for (GtkWidget* c = gtk_widget_get_first_child(w); c != nullptr; c = gtk_widget_get_next_sibling(c)) {
        mappedLabels(c, out);
    }
}

// Texts that do not fit where they are: laid out larger than the room they were given,
// shortened with an ellipsis, or reaching past the window's sides.
std::vector<std::string> cutTexts(Gtk::Window& window)
{
    std::vector<GtkLabel*> labels;
    mappedLabels(GTK_WIDGET(window.gobj()), labels);
    std::vector<std::string> cut;
    for (GtkLabel* label : labels) {
        GtkWidget* w = GTK_WIDGET(label);
        PangoLayout* layout = gtk_label_get_layout(label);
        int textWidth = 0, textHeight = 0;
        pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
        graphene_rect_t bounds{};
        const bool placed = gtk_widget_compute_bounds(w, GTK_WIDGET(window.gobj()), &bounds);
        const bool outside = !placed || bounds.origin.x < -0.5 ||
                             bounds.origin.x + bounds.size.width > window.get_width() + 0.5;
        if (textWidth > gtk_widget_get_width(w) + 1 || textHeight > gtk_widget_get_height(w) + 1 || outside ||
            pango_layout_is_ellipsized(layout)) {
            cut.emplace_back(gtk_label_get_text(label));
        }
    }
    return cut;
}

// The lowest contrast of a main-screen text against the screen's page colour, and its text.
std::pair<double, std::string> weakestText(Gtk::Window& window)
{
    GtkWidget* screen = withClass(GTK_WIDGET(window.gobj()), "qv-data-screen");
    EXPECT_NE(screen, nullptr);
    if (screen == nullptr) {
        return {0, ""};
    }
    Gdk::RGBA page;
    EXPECT_TRUE(Glib::wrap(screen)->get_style_context()->lookup_color("quorvel_page", page));
    std::vector<GtkLabel*> labels;
    mappedLabels(screen, labels);
    std::pair<double, std::string> weakest{100, ""};
    for (GtkLabel* label : labels) {
        const Gdk::RGBA colour = Glib::wrap(GTK_WIDGET(label))->get_style_context()->get_color();
        const double ratio = contrast(colour, page);
        if (ratio < weakest.first) {
            weakest = {ratio, gtk_label_get_text(label)};
        }
    }
    return weakest;
}

int brightness(const Rgb& c)
{
    return (c.r + c.g + c.b) / 3;
}

class SystemStyleWindow : public ShellTest {
protected:
    void TearDown() override
    {
        ShellTest::TearDown();
        preferColours("default");
        highContrast(false);
        Gtk::Settings::get_default()->reset_property("gtk-xft-dpi");
        settle(5);
    }
    // The main screen at phone size, its picture kept under `name`; no text on it may be cut.
    Cairo::RefPtr<Cairo::ImageSurface> mainScreen(const std::string& name, double minimumContrast)
    {
        demoState();
        FAppDelegate& d = launch();
        Gtk::Window& window = *d.window();
        EXPECT_TRUE(runUntil([&] { return window.get_width() == 360 && window.get_height() == 720; }));
        waitFrames(window, 3);
        settle(30);
        const std::vector<std::string> cut = cutTexts(window);
        EXPECT_TRUE(cut.empty()) << name << ": \"" << (cut.empty() ? "" : cut.front()) << "\" and "
                                 << (cut.empty() ? 0 : cut.size() - 1) << " more are cut";
        const auto [ratio, text] = weakestText(window);
        EXPECT_GE(ratio, minimumContrast) << name << ": \"" << text << "\"";
        auto image = picture(window);
        keepScreenshot(image, name);
        return image;
    }
    void relaunch()
    {
        TearDown();
        SetUp();
    }
};

// A point of the main screen's page, left of the panels and below the date.
constexpr double kPageX = 4, kPageY = 300;

TEST_F(SystemStyleWindow, TheMainScreenFollowsTheStylesAndLargeText)
{
    // Without a preference the desktop's style is light.
    const auto light = mainScreen("main-style-light-phone", 4.5);
    EXPECT_GT(brightness(pixel(light, kPageX, kPageY)), 200) << "a light page";
    relaunch();

    preferColours("prefer-dark");
    const auto dark = mainScreen("main-style-dark-phone", 4.5);
    EXPECT_LT(brightness(pixel(dark, kPageX, kPageY)), 70) << "the deep blue-grey page";
    EXPECT_TRUE(differ(light, dark));
    relaunch();

    // High contrast: every text in the full text colour, well beyond the usual 4.5:1.
    highContrast(true);
    const auto contrasted = mainScreen("main-style-high-contrast-phone", 7);
    EXPECT_TRUE(differ(light, contrasted));
    relaunch();

    highContrast(true);
    preferColours("prefer-dark");
    const auto contrastedDark = mainScreen("main-style-high-contrast-dark-phone", 7);
    EXPECT_TRUE(differ(dark, contrastedDark));
    relaunch();

    // GNOME's "Large Text", a text scaling of 1.5, reaches GTK under X11 as the font resolution.
    Gtk::Settings::get_default()->property_gtk_xft_dpi() = 96 * 1024 * 3 / 2;
    const auto large = mainScreen("main-style-large-text-phone", 4.5);
    EXPECT_TRUE(differ(light, large, 60));
}

TEST_F(SystemStyleWindow, AnOpenWindowTakesTheNewStyleAtOnce)
{
    demoState();
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    ASSERT_TRUE(runUntil([&] { return window.get_width() == 360 && window.get_height() == 720; }));
    waitFrames(window, 3);
    EXPECT_GT(brightness(pixel(picture(window), kPageX, kPageY)), 200);

    preferColours("prefer-dark");
    waitFrames(window, 3);
    EXPECT_LT(brightness(pixel(picture(window), kPageX, kPageY)), 70) << "dark without a new start";

    preferColours("prefer-light");
    waitFrames(window, 3);
    EXPECT_GT(brightness(pixel(picture(window), kPageX, kPageY)), 200) << "and back";

    // The settings follow too: a light page beside the rows, their titles dark on it.
    d.tabs()->selectTab(3);
    waitFrames(window, 3);
    settle(20);
    const auto settings = picture(window);
    keepScreenshot(settings, "settings-style-light-phone");
    EXPECT_GT(brightness(pixel(settings, 2, kPageY)), 200);
    preferColours("prefer-dark");
    waitFrames(window, 3);
    settle(20);
    const auto darkSettings = picture(window);
    keepScreenshot(darkSettings, "settings-style-dark-phone");
    EXPECT_LT(brightness(pixel(darkSettings, 2, kPageY)), 70);
}

}  // namespace
}  // namespace quorvel::guitest

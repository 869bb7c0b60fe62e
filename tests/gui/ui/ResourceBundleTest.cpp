// SPDX-License-Identifier: GPL-3.0-or-later
// The resource bundle: every picture the screens name loads with a size their geometry can use,
// the pictures show what their names say, the reference page and the style sheet are there, and
// the style sheet really dresses the tab bar and the grouped rows.
#include <gtest/gtest.h>

#include <adwaita.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <giomm/resource.h>
#include <gtkmm/box.h>
#include <gtkmm/init.h>
#include <gtkmm/button.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/listboxrow.h>
#include <gtkmm/picture.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "ui/gtk/ImageStore.hpp"

namespace quorvel {
namespace {

struct Rgba {
    double r, g, b, a;  // 0..255, alpha 0..1, not premultiplied
};

// The picture's colour at a point given in points.
Rgba probe(const ImageStore::Image& image, double x, double y)
{
    auto surface = image.surface;
    surface->flush();
    const int px = std::clamp(static_cast<int>(x * 2), 0, surface->get_width() - 1);
    const int py = std::clamp(static_cast<int>(y * 2), 0, surface->get_height() - 1);
    std::uint32_t v = 0;
    std::memcpy(&v, surface->get_data() + py * surface->get_stride() + 4 * px, sizeof v);
    const double a = ((v >> 24) & 0xFF) / 255.0;
    const auto channel = [&](int shift) { return a == 0 ? 0.0 : ((v >> shift) & 0xFF) / a; };
    return {channel(16), channel(8), channel(0), a};
}

// The mean colour of the picture's nearly opaque pixels.
Rgba meanOpaque(const ImageStore::Image& image)
{
    Rgba sum{0, 0, 0, 0};
    int n = 0;
    for (double y = 0; y < image.height; y += 0.5) {
        for (double x = 0; x < image.width; x += 0.5) {
            const Rgba c = probe(image, x, y);
            if (c.a > 0.9) {
                sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, 1};
                ++n;
            }
        }
    }
    return n == 0 ? sum : Rgba{sum.r / n, sum.g / n, sum.b / n, 1};
}

const ImageStore::Image& picture(const std::string& name)
{
    const ImageStore::Image* image = ImageStore::image(name);
    if (image == nullptr) {
        ADD_FAILURE() << name << " is not in the bundle";
        static const ImageStore::Image none;
        return none;
    }
    return *image;
}

const std::vector<std::string> kTabNames = {"network",     "network_a", "barchart", "barchart_a",
                                            "locations",   "locations_a", "settings", "settings_a"};
const std::vector<std::string> kBarNames = {"bar_top@2x_2.png", "bar_top", "ipad_bar_down", "bardown.png", "empty"};
const std::vector<std::string> kGaugeNames = {"shkala_left.png", "shkala_right.png", "shkala_green@2x.png",
                                              "shkala_white.png", "arrow_down.png",  "arrow_up.png",
                                              "punktir.png"};
const std::vector<std::string> kPanelNames = {"pimtl", "pimt", "pimtr", "pimml", "pimm",
                                              "pimmr", "pimbl", "pimb", "pimbr"};
const std::vector<std::string> kPinNames = {"redPin.png",    "yellowPin.png", "greenPin.png",
                                            "grayPin.png",   "purplePin.png", "bluePin1.png"};
const std::vector<std::string> kButtonNames = {"button_menu@2x.png", "button_menu_a@2x.png", "button_back",
                                               "button_back_a"};
const std::vector<std::string> kRowNames = {"tabrow",      "tabrow_up",      "tabrow_down",      "tabrow_center",
                                            "ipad_tabrow", "ipad_tabrow_up", "ipad_tabrow_down", "ipad_tabrow_center"};
const std::vector<std::string> kIconNames = {"ic_data_plan", "calendar2", "ic_reset", "ic_app_tip", "arrow"};

// Textures are wrapped for C++: the harness starts GTK through its C API only.
class ResourceBundle : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Gtk::init_gtkmm_internals(); }
};

TEST_F(ResourceBundle, EveryNamedPictureLoadsWithAUsableSize)
{
    for (const auto* group : {&kTabNames, &kBarNames, &kGaugeNames, &kPanelNames, &kPinNames, &kButtonNames,
                              &kRowNames, &kIconNames}) {
        for (const std::string& name : *group) {
            const ImageStore::Image* image = ImageStore::image(name);
            ASSERT_NE(image, nullptr) << name;
            EXPECT_GE(image->width, 1) << name;
            EXPECT_GE(image->height, 1) << name;
            EXPECT_LE(image->width, 1024) << name;
            EXPECT_LE(image->height, 128) << name;
            EXPECT_TRUE(image->texture) << name;
        }
    }
    // A name asked with or without ".png" is the same picture; an unknown one is none.
    EXPECT_EQ(ImageStore::image("redPin"), ImageStore::image("redPin.png"));
    EXPECT_EQ(ImageStore::image("no_such_picture"), nullptr);
}

TEST_F(ResourceBundle, GaugePartsFitTheGaugeGeometry)
{
    const auto& track = picture("shkala_white.png");
    const auto& filled = picture("shkala_green@2x.png");
    const auto& left = picture("shkala_left.png");
    const auto& right = picture("shkala_right.png");
    const auto& down = picture("arrow_down.png");
    const auto& up = picture("arrow_up.png");
    const auto& marker = picture("punktir.png");
    // Parts scaled into one bar share their design height, so their outlines meet.
    EXPECT_EQ(track.height, filled.height);
    EXPECT_EQ(left.height, track.height);
    EXPECT_EQ(right.height, track.height);
    EXPECT_EQ(left.width, right.width);
    // The margin above and below the bar is the taller arrow; both arrows match, and the margin
    // below the marker line leaves room for a 12-point date 10 points under it (bar of 40).
    EXPECT_EQ(down.height, up.height);
    EXPECT_GE(up.height + (1 - 0.843) * track.height, 10 + 12);
    // The marker line is drawn at its own width and stretched to 84.3 % of the bar.
    EXPECT_LE(marker.width, 6);
    EXPECT_NEAR(marker.height, 0.843 * track.height, 1.0);
    // Whole-point caps, as the gauge truncates them.
    EXPECT_EQ(left.width, std::floor(left.width));
}

TEST_F(ResourceBundle, PanelPiecesLineUpForNinePartTiling)
{
    std::vector<const ImageStore::Image*> p;
    for (const auto& name : kPanelNames) {
        p.push_back(&picture(name));
    }
    // Columns share widths and rows share heights, or the pieces would overlap or leave gaps.
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(p[column]->width, p[column + 3]->width);
        EXPECT_EQ(p[column]->width, p[column + 6]->width);
    }
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(p[3 * row]->height, p[3 * row + 1]->height);
        EXPECT_EQ(p[3 * row]->height, p[3 * row + 2]->height);
    }
    // The outer corners are rounded away; the centre is an opaque, even face.
    EXPECT_EQ(probe(*p[0], 0, 0).a, 0);
    EXPECT_EQ(probe(*p[8], p[8]->width - 0.5, p[8]->height - 0.5).a, 0);
    const Rgba a = probe(*p[4], 0, 0), b = probe(*p[4], p[4]->width - 0.5, p[4]->height - 0.5);
    EXPECT_EQ(a.a, 1);
    EXPECT_NEAR(a.r, b.r, 1);
    EXPECT_NEAR(a.b, b.b, 1);
}

TEST_F(ResourceBundle, PinsShowTheirColourAndStandOnTheirTip)
{
    struct Case {
        std::string name;
        bool (*looks)(Rgba);
    };
    const std::vector<Case> cases = {
        {"redPin.png", [](Rgba c) { return c.r > 150 && c.g < 90 && c.b < 90; }},
        {"yellowPin.png", [](Rgba c) { return c.r > 170 && c.g > 140 && c.b < 90; }},
        {"greenPin.png", [](Rgba c) { return c.g > c.r + 50 && c.g > c.b + 50; }},
        {"grayPin.png", [](Rgba c) { return std::abs(c.r - c.g) < 20 && std::abs(c.g - c.b) < 25 && c.r > 80; }},
        {"purplePin.png", [](Rgba c) { return c.r > c.g + 50 && c.b > c.g + 70; }},
        {"bluePin1.png", [](Rgba c) { return c.b > c.r + 100 && c.b > c.g + 40; }},
    };
    for (const auto& c : cases) {
        const auto& pin = picture(c.name);
        EXPECT_LT(pin.width, pin.height) << c.name;
        // The head, away from its white dot and gloss.
        const Rgba body = probe(pin, pin.width / 2 + 5, 15);
        EXPECT_TRUE(c.looks(body)) << c.name << " body " << body.r << "," << body.g << "," << body.b;
        // The tip is the bottom centre: opaque there, nothing in the bottom corners.
        EXPECT_GT(probe(pin, pin.width / 2, pin.height - 1.5).a, 0.3) << c.name;
        EXPECT_EQ(probe(pin, 1, pin.height - 1).a, 0) << c.name;
        EXPECT_EQ(probe(pin, pin.width - 1, pin.height - 1).a, 0) << c.name;
    }
}

TEST_F(ResourceBundle, GaugeAndTabsHaveTheColoursOfTheLook)
{
    const Rgba green = probe(picture("shkala_green@2x.png"), 30, 20);
    EXPECT_GT(green.g, green.r + 30);
    EXPECT_GT(green.g, green.b + 60);
    const Rgba track = probe(picture("shkala_white.png"), 30, 20);
    EXPECT_GT(std::min({track.r, track.g, track.b}), 200);  // light, so the dark percentage reads on it
    for (const std::string name : {"network", "barchart", "locations", "settings"}) {
        const Rgba plain = meanOpaque(picture(name));
        const Rgba selected = meanOpaque(picture(name + "_a"));
        EXPECT_LT(std::max({plain.r, plain.g, plain.b}) - std::min({plain.r, plain.g, plain.b}), 30) << name;
        EXPECT_GT(plain.g, 110) << name;
        EXPECT_GT(selected.g, selected.r + 30) << name;
        EXPECT_GT(selected.g, selected.b + 80) << name;
        EXPECT_EQ(picture(name).width, picture(name + "_a").width) << name;
    }
    EXPECT_EQ(probe(picture("empty"), 0, 0).a, 0);
}

TEST_F(ResourceBundle, RowBackgroundsAreRoundedOnlyAtTheEndsOfAGroup)
{
    for (const std::string prefix : {"", "ipad_"}) {
        const auto corners = [&](const std::string& name) {
            const auto& row = picture(prefix + name);
            return std::vector<bool>{probe(row, 0, 0).a > 0, probe(row, row.width - 0.5, 0).a > 0,
                                     probe(row, 0, row.height - 0.5).a > 0,
                                     probe(row, row.width - 0.5, row.height - 0.5).a > 0};
        };
        EXPECT_EQ(corners("tabrow"), (std::vector<bool>{false, false, false, false})) << prefix;
        EXPECT_EQ(corners("tabrow_up"), (std::vector<bool>{false, false, true, true})) << prefix;
        EXPECT_EQ(corners("tabrow_center"), (std::vector<bool>{true, true, true, true})) << prefix;
        EXPECT_EQ(corners("tabrow_down"), (std::vector<bool>{true, true, false, false})) << prefix;
        EXPECT_EQ(picture(prefix + "tabrow_up").height, picture(prefix + "tabrow_down").height) << prefix;
    }
}

std::string resourceText(const std::string& path)
{
    const auto bytes = Gio::Resource::lookup_data_global(path);
    gsize size = 0;
    const auto* data = static_cast<const char*>(bytes->get_data(size));
    return std::string(data, size);
}

TEST_F(ResourceBundle, ReferencePageIsSelfContained)
{
    const std::string page = resourceText("/org/quorvel/Quorvel/t.html");
    EXPECT_NE(page.find("<title>Quorvel Reference</title>"), std::string::npos);
    for (const char* needle : {"quorvelctl", "quorvel-sample.timer", "Daily Limit", "Monthly Limit",
                               "Data Limit Exceeding", "statestg"}) {
        EXPECT_NE(page.find(needle), std::string::npos) << needle;
    }
    // Nothing is fetched from elsewhere: no external scripts, styles, images or fonts.
    for (const char* external : {"src=\"http", "href=\"http", "url(http", "@import", "<script", "<link"}) {
        EXPECT_EQ(page.find(external), std::string::npos) << external;
    }
}

TEST_F(ResourceBundle, StyleSheetParsesWithoutErrors)
{
    auto provider = Gtk::CssProvider::create();
    std::vector<std::string> errors;
    provider->signal_parsing_error().connect(
        [&](const Glib::RefPtr<const Gtk::CssSection>& section, const Glib::Error& error) {
            errors.push_back(section->to_string() + ": " + error.what());
        });
    for (const char* sheet : {"style.css", "style-dark.css", "style-hc.css", "style-hc-dark.css"}) {
        provider->load_from_resource(std::string("/org/quorvel/Quorvel/") + sheet);
        EXPECT_TRUE(errors.empty()) << sheet << ": " << errors.front();
        errors.clear();
    }
}

TEST_F(ResourceBundle, TabPicturesAndAppIconAreThemedIcons)
{
    auto theme = Gtk::IconTheme::get_for_display(Gdk::Display::get_default());
    theme->add_resource_path("/org/quorvel/Quorvel/icons");
    for (const std::string name : {"network", "barchart", "locations", "settings"}) {
        EXPECT_TRUE(theme->has_icon("quorvel-" + name)) << name;
        EXPECT_TRUE(theme->has_icon("quorvel-" + name + "_a")) << name;
    }
    EXPECT_TRUE(theme->has_icon("org.quorvel.Quorvel"));
}

// A sample of the look: a header with the back button, a titled group of rows with a footer,
// and the tab bar, dressed only by the style sheet.
class LookSample {
public:
    explicit LookSample(bool tablet)
    {
        window_.set_default_size(tablet ? 1024 : 360, tablet ? 768 : 720);
        if (tablet) {
            window_.add_css_class("quorvel-tablet");
        }
        auto* page = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
        page->add_css_class("quorvel-screen");
        page->set_vexpand(true);
        header_ = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL);
        back_ = Gtk::make_managed<Gtk::Button>("Back");
        back_->add_css_class("quorvel-back-button");
        back_->set_margin(6);
        header_->append(*back_);
        header_->add_css_class("quorvel-navbar");
        auto* title = Gtk::make_managed<Gtk::Label>("Settings");
        title->set_hexpand(true);
        title->add_css_class("title");
        header_->append(*title);
        auto* section = Gtk::make_managed<Gtk::Label>("Plan", Gtk::Align::START);
        section->add_css_class("quorvel-section-header");
        list_ = Gtk::make_managed<Gtk::ListBox>();
        list_->add_css_class("quorvel-list");
        list_->set_margin_start(10);
        list_->set_margin_end(10);
        const std::string prefix = tablet ? "quorvel-ipad_" : "quorvel-";
        addRow("Data Plan - 2 GB", "ic_data_plan", prefix + "tabrow_up");
        addRow("Plan Start Day - 15", "calendar2", prefix + "tabrow_center");
        addRow("Reset Statistic", "ic_reset", prefix + "tabrow_down");
        auto* footer = Gtk::make_managed<Gtk::Label>("Set up data plan", Gtk::Align::START);
        footer->add_css_class("quorvel-section-footer");
        page->append(*header_);
        page->append(*section);
        page->append(*list_);
        page->append(*footer);
        buildTabs(*page);
        window_.set_child(*page);
    }

    Gtk::Window& window() { return window_; }
    Gtk::Widget& row(int i) { return *list_->get_row_at_index(i); }
    Gtk::Widget& bar() { return *bar_; }

private:
    void addRow(const std::string& text, const std::string& icon, const std::string& position)
    {
        auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL);
        auto* picture = Gtk::make_managed<Gtk::Picture>(ImageStore::image(icon)->texture);
        picture->set_can_shrink(true);
        picture->set_size_request(28, 28);
        picture->add_css_class("quorvel-row-icon");
        box->append(*picture);
        box->append(*Gtk::make_managed<Gtk::Label>(text));
        auto* row = Gtk::make_managed<Gtk::ListBoxRow>();
        row->set_child(*box);
        row->add_css_class("quorvel-row");
        row->add_css_class(position);
        list_->append(*row);
    }

    void buildTabs(Gtk::Box& page)
    {
        AdwViewStack* stack = ADW_VIEW_STACK(adw_view_stack_new());
        const char* tabs[][2] = {{"network_a", "Data"}, {"barchart", "Chart"}, {"locations", "Locations"},
                                 {"settings", "Settings"}};
        for (const auto& [icon, name] : tabs) {
            AdwViewStackPage* tab = adw_view_stack_add_titled(stack, gtk_label_new(name), name, name);
            adw_view_stack_page_set_icon_name(tab, ("quorvel-" + std::string(icon)).c_str());
        }
        auto* stackWidget = Gtk::manage(Glib::wrap(GTK_WIDGET(stack)));
        stackWidget->set_vexpand(true);
        page.append(*stackWidget);
        GtkWidget* bar = adw_view_switcher_bar_new();
        adw_view_switcher_bar_set_stack(ADW_VIEW_SWITCHER_BAR(bar), stack);
        adw_view_switcher_bar_set_reveal(ADW_VIEW_SWITCHER_BAR(bar), TRUE);
        bar_ = Gtk::manage(Glib::wrap(bar));
        page.append(*bar_);
    }

    Gtk::Window window_;
    Gtk::Box* header_ = nullptr;
    Gtk::Button* back_ = nullptr;
    Gtk::ListBox* list_ = nullptr;
    Gtk::Widget* bar_ = nullptr;
};

graphene_rect_t boundsIn(Gtk::Widget& widget, Gtk::Widget& root)
{
    graphene_rect_t r;
    EXPECT_TRUE(gtk_widget_compute_bounds(widget.gobj(), root.gobj(), &r));
    return r;
}

void expectNear(guitest::Rgb seen, Rgba expected, int tolerance, const std::string& what)
{
    EXPECT_NEAR(seen.r, expected.r, tolerance) << what;
    EXPECT_NEAR(seen.g, expected.g, tolerance) << what;
    EXPECT_NEAR(seen.b, expected.b, tolerance) << what;
}

class StyleSheetLook : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite()
    {
        Gtk::init_gtkmm_internals();
        provider_ = Gtk::CssProvider::create();
        provider_->load_from_resource("/org/quorvel/Quorvel/style.css");
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider_,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        // The pictures are the dark style's.
        dark_ = Gtk::CssProvider::create();
        dark_->load_from_resource("/org/quorvel/Quorvel/style-dark.css");
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), dark_,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
        Gtk::IconTheme::get_for_display(Gdk::Display::get_default())
            ->add_resource_path("/org/quorvel/Quorvel/icons");
    }
    static void TearDownTestSuite()
    {
        Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), provider_);
        Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), dark_);
        provider_.reset();
        dark_.reset();
    }
    static inline Glib::RefPtr<Gtk::CssProvider> provider_;
    static inline Glib::RefPtr<Gtk::CssProvider> dark_;
};

TEST_P(StyleSheetLook, DressesRowsAndTabBarWithThePictures)
{
    const bool tablet = GetParam();
    LookSample sample(tablet);
    sample.window().present();
    ASSERT_TRUE(guitest::runUntil([&] { return sample.bar().get_height() > 0 && sample.row(2).get_height() > 0; }));
    guitest::settle();
    auto& root = sample.window();
    const auto shot = guitest::picture(root);
    guitest::keepScreenshot(shot, tablet ? "look-tablet" : "look-phone");

    const std::string prefix = tablet ? "ipad_" : "";
    const Rgba background{36, 38, 58, 1};
    expectNear(guitest::pixel(shot, 3, root.get_height() / 2.0), background, 3, "screen background");
    // The middle of each row shows its picture's face, not the stock list's colour.
    const char* positions[] = {"tabrow_up", "tabrow_center", "tabrow_down"};
    for (int i = 0; i < 3; ++i) {
        const graphene_rect_t r = boundsIn(sample.row(i), root);
        const auto& face = picture(prefix + positions[i]);
        const Rgba expected = probe(face, face.width / 2, face.height / 2);
        const double x = r.origin.x + r.size.width * 0.75;
        expectNear(guitest::pixel(shot, x, r.origin.y + r.size.height / 2), expected, 10, positions[i]);
    }
    // The tab bar carries the bar picture: darker than the screens.
    const graphene_rect_t bar = boundsIn(sample.bar(), root);
    const guitest::Rgb barColour = guitest::pixel(shot, bar.origin.x + 2, bar.origin.y + bar.size.height - 3);
    EXPECT_LT(barColour.r + barColour.g + barColour.b, 36 + 38 + 58);
    root.close();
}

INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, StyleSheetLook, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tablet" : "Phone"; });

}  // namespace
}  // namespace quorvel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FTabInterface.hpp"

#include <adwaita.h>

#include <giomm/simpleaction.h>
#include <gtkmm/icontheme.h>

#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "locations/gtk/LocationViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"
#include "ui/dialog/gtk/CODialogWindowOverlay.hpp"
#include "ui/main/gtk/FViewController.hpp"
#include "ui/gtk/ImageStore.hpp"
#include "ui/gtk/SystemStyle.hpp"
#include "platform/Translation.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

const char* const kPageNames[4] = {"data", "chart", "locations", "settings"};

// The bar keeps a margin beside its switcher; without it the four names have the room they need
// with large text on a phone.
void dropSwitcherMargins(GtkWidget* widget)
{
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        if (ADW_IS_VIEW_SWITCHER(child)) {
            gtk_widget_set_margin_start(child, 0);
            gtk_widget_set_margin_end(child, 0);
        }
        dropSwitcherMargins(child);
    }
}

void onVisibleChild(GObject*, GParamSpec*, gpointer self)
{
    static_cast<FTabInterface*>(self)->selectTab(static_cast<FTabInterface*>(self)->selectedTab());
}

}  // namespace

void FTabInterface::installStyle()
{
    static const bool installed = [] {
        // The desktop's light or dark style and its high contrast, followed while the window is open.
        SystemStyle::install();
        Gtk::IconTheme::get_for_display(Gdk::Display::get_default())->add_resource_path("/org/quorvel/Quorvel/icons");
        return true;
    }();
    (void)installed;
}

FTabInterface::FTabInterface(Gtk::Application& app, ScreenContext& context)
    : context_(context),
      window_(UIDeviceVersion::idiom()),
      content_(Gtk::Orientation::VERTICAL),
      switcher_(context.app),
      menu_(app, window_),
      size_(window_, context.defaults)
{
    installStyle();
    app.add_window(window_);
    window_.set_title("Quorvel");
    window_.set_icon_name("org.quorvel.Quorvel");
    const bool tablet = UIDeviceVersion::isPadInterface();
    size_.restore(tablet ? 1024 : 360, tablet ? 768 : 720);

    GtkWidget* stack = adw_view_stack_new();
    stack_ = ADW_VIEW_STACK(stack);
    gtk_widget_set_vexpand(stack, TRUE);
    gtk_box_append(content_.gobj(), stack);
    GtkWidget* bar = adw_view_switcher_bar_new();
    bar_ = ADW_VIEW_SWITCHER_BAR(bar);
    adw_view_switcher_bar_set_stack(bar_, stack_);
    adw_view_switcher_bar_set_reveal(bar_, TRUE);
    gtk_widget_add_css_class(bar, "quorvel-tabbar");
    dropSwitcherMargins(bar);
    gtk_box_append(content_.gobj(), bar);
    frame_.set_child(content_);
    frame_.set_propagate_natural_width(true);
    frame_.set_propagate_natural_height(true);
    fitFrameToForm();
    window_.set_child(frame_);
    // The toolkit's own title bar: the choice of the plan shown as its title, the primary menu
    // at its end.
    GtkWidget* header = adw_header_bar_new();
    adw_header_bar_set_title_widget(ADW_HEADER_BAR(header), GTK_WIDGET(switcher_.titleWidget().gobj()));
    adw_header_bar_pack_end(ADW_HEADER_BAR(header), GTK_WIDGET(menu_.button().gobj()));
    gtk_window_set_titlebar(GTK_WINDOW(window_.gobj()), header);
    CODialogWindowOverlay::prepareHost(window_);  // the set-up's prompts dim the whole window

    addScreens();
    g_signal_connect(stack_, "notify::visible-child", G_CALLBACK(onVisibleChild), this);
    selectTab(0);
    window_.onFormChanged = [this](UIDeviceVersion::Idiom) { formChanged(); };
    installShortcuts(app);
}

// Ctrl+Q quits, Ctrl+W closes the window (GTK's own "window.close"); Alt+1…4 choose a tab and
// Ctrl+Page Up/Down go to the one before or after, as in every tabbed GNOME application.
void FTabInterface::installShortcuts(Gtk::Application& app)
{
    auto tab = Gio::SimpleAction::create("tab", Glib::VariantType("i"));
    tab->signal_activate().connect([this](const Glib::VariantBase& v) {
        const int index = Glib::VariantBase::cast_dynamic<Glib::Variant<int>>(v).get();
        if (index >= 0 && index < 4) {
            selectTab(index);
        }
    });
    window_.add_action(tab);
    const auto step = [this](int by) { selectTab((selectedTab() + by + 4) % 4); };
    window_.add_action("previous-tab", [step] { step(-1); });
    window_.add_action("next-tab", [step] { step(1); });
    for (int i = 0; i < 4; ++i) {
        app.set_accel_for_action("win.tab(" + std::to_string(i) + ")", "<Alt>" + std::to_string(i + 1));
    }
    app.set_accel_for_action("win.previous-tab", "<Control>Page_Up");
    app.set_accel_for_action("win.next-tab", "<Control>Page_Down");
    if (!app.has_action("quit")) {
        auto quit = Gio::SimpleAction::create("quit");
        quit->signal_activate().connect([&app](const Glib::VariantBase&) { app.quit(); });
        app.add_action(quit);
    }
    app.set_accel_for_action("app.quit", "<Control>q");
    app.set_accel_for_action("window.close", "<Control>w");
}

FTabInterface::~FTabInterface()
{
    if (stack_ != nullptr) {
        g_signal_handlers_disconnect_by_data(stack_, this);
    }
}

void FTabInterface::addScreens()
{
    addScreen(std::make_unique<FViewController>(context_), 0);
    addScreen(std::make_unique<ChartViewContainerViewController>(context_), 1);
    addScreen(std::make_unique<LocationViewController>(context_), 2);
    addScreen(std::make_unique<FPrefTableViewController>(context_), 3);
}

void FTabInterface::removeScreens()
{
    if (shownTab_ >= 0) {
        screens_[static_cast<std::size_t>(shownTab_)]->viewWillDisappear();
    }
    for (const auto& screen : screens_) {
        adw_view_stack_remove(stack_, screen->widget().gobj());
    }
    pages_.clear();
    screens_.clear();
    shownTab_ = -1;
}

// The larger form's screens want more width than a phone's. Held at their minimum, a window
// dragged to a phone's width in one go would stop there, in the phone form but still wide; the
// frame lets it take the width at once (for the moment until the phone's screens are made). The
// phone form keeps its screens' own minimum.
void FTabInterface::fitFrameToForm()
{
    const bool larger = UIDeviceVersion::isPadInterface();
    frame_.set_policy(larger ? Gtk::PolicyType::EXTERNAL : Gtk::PolicyType::NEVER, Gtk::PolicyType::NEVER);
    frame_.set_min_content_width(larger ? kPhoneWidth : -1);
}

// The screens read the form when they are made; the same tab comes back in the new form.
void FTabInterface::formChanged()
{
    fitFrameToForm();
    const int shown = selectedTab();
    g_signal_handlers_block_by_func(stack_, reinterpret_cast<gpointer>(&onVisibleChild), this);
    removeScreens();
    adw_view_switcher_bar_set_reveal(bar_, TRUE);
    addScreens();
    adw_view_stack_set_visible_child_name(stack_, kPageNames[shown]);
    g_signal_handlers_unblock_by_func(stack_, reinterpret_cast<gpointer>(&onVisibleChild), this);
    selectTab(shown);
    if (onScreensRebuilt) {
        onScreensRebuilt();
    }
}

void FTabInterface::addScreen(std::unique_ptr<TabScreen> screen, int index)
{
    AdwViewStackPage* page = adw_view_stack_add_titled(stack_, screen->widget().gobj(), kPageNames[index],
                                                       Translation::tr(screen->title().c_str()));
    adw_view_stack_page_set_icon_name(page, kTabImages[index].normal);
    // The reference page takes the whole window; the bar comes back when it is left.
    screen->setTabBarHiddenHandler(
        [this](bool hidden) { adw_view_switcher_bar_set_reveal(bar_, hidden ? FALSE : TRUE); });
    pages_.push_back(page);
    screens_.push_back(std::move(screen));
}

bool FTabInterface::tabBarRevealed() const
{
    return adw_view_switcher_bar_get_reveal(bar_) != FALSE;
}

int FTabInterface::selectedTab() const
{
    const char* name = adw_view_stack_get_visible_child_name(stack_);
    for (int i = 0; i < 4 && name != nullptr; ++i) {
        if (std::string_view(name) == kPageNames[i]) {
            return i;
        }
    }
    return 0;
}

void FTabInterface::selectTab(int index)
{
    if (selectedTab() != index) {
        adw_view_stack_set_visible_child_name(stack_, kPageNames[index]);
        return;  // the visible-child notification comes back here
    }
    if (shownTab_ == index) {
        return;
    }
    if (shownTab_ >= 0) {
        screens_[static_cast<std::size_t>(shownTab_)]->viewWillDisappear();
        adw_view_stack_page_set_icon_name(pages_[static_cast<std::size_t>(shownTab_)], kTabImages[shownTab_].normal);
    }
    shownTab_ = index;
    adw_view_stack_page_set_icon_name(pages_[static_cast<std::size_t>(index)], kTabImages[index].selected);
    screens_[static_cast<std::size_t>(index)]->viewWillAppear();
}

}  // namespace quorvel

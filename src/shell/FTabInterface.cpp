// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FTabInterface.hpp"

#include <adwaita.h>

#include <algorithm>

#include <giomm/simpleaction.h>
#include <gtkmm/icontheme.h>

#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "locations/gtk/LocationViewController.hpp"
#include "ui/settings/PrefTexts.hpp"
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
// The tabs' names, there before their screens are.
const char* const kTitles[4] = {FViewController::kTitle, ChartViewContainerViewController::kTitle,
                                LocationViewController::kTitle, PrefTexts::kTitleSettings};

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

    addPages();
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

std::unique_ptr<TabScreen> FTabInterface::makeScreen(int index)
{
    switch (index) {
    case 0:
        return std::make_unique<FViewController>(context_);
    case 1:
        return std::make_unique<ChartViewContainerViewController>(context_);
    case 2:
        return std::make_unique<LocationViewController>(context_);
    default:
        return std::make_unique<FPrefTableViewController>(context_);
    }
}

// The pages with their names and pictures, each an empty holder until its screen is made.
void FTabInterface::addPages()
{
    for (int i = 0; i < 4; ++i) {
        Tab& tab = tabs_[static_cast<std::size_t>(i)];
        tab.holder = adw_bin_new();
        tab.page = adw_view_stack_add_titled(stack_, tab.holder, kPageNames[i], Translation::tr(kTitles[i]));
        adw_view_stack_page_set_icon_name(tab.page, kTabImages[i].normal);
    }
}

void FTabInterface::removePages()
{
    if (shownTab_ >= 0 && builtScreen(shownTab_) != nullptr) {
        builtScreen(shownTab_)->viewWillDisappear();
    }
    for (Tab& tab : tabs_) {
        adw_bin_set_child(ADW_BIN(tab.holder), nullptr);
        adw_view_stack_remove(stack_, tab.holder);
        tab = Tab{};
    }
    shownTab_ = -1;
}

TabScreen& FTabInterface::screen(int index)
{
    Tab& tab = tabs_.at(static_cast<std::size_t>(index));
    if (tab.screen == nullptr) {
        tab.screen = makeScreen(index);
        // The reference page takes the whole window; the bar comes back when it is left.
        tab.screen->setTabBarHiddenHandler(
            [this](bool hidden) { adw_view_switcher_bar_set_reveal(bar_, hidden ? FALSE : TRUE); });
        adw_bin_set_child(ADW_BIN(tab.holder), tab.screen->widget().gobj());
        if (onScreenBuilt) {
            onScreenBuilt(*tab.screen);
        }
    }
    return *tab.screen;
}

// The focus goes into the page shown when it was in the page before or on none, as the stack
// does it for a page that has its content; a page made only now was still empty then.
void FTabInterface::focusMadePage(int index)
{
    GtkWidget* holder = tabs_.at(static_cast<std::size_t>(index)).holder;
    GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(window_.gobj()));
    const bool inAPage = std::any_of(tabs_.begin(), tabs_.end(), [focus](const Tab& tab) {
        return focus != nullptr && (focus == tab.holder || gtk_widget_is_ancestor(focus, tab.holder));
    });
    if (focus == nullptr || inAPage || gtk_widget_is_ancestor(holder, focus)) {
        gtk_widget_child_focus(holder, GTK_DIR_TAB_FORWARD);
    }
}

TabScreen* FTabInterface::builtScreen(int index) const
{
    return tabs_.at(static_cast<std::size_t>(index)).screen.get();
}

std::vector<TabScreen*> FTabInterface::builtScreens() const
{
    std::vector<TabScreen*> built;
    for (const Tab& tab : tabs_) {
        if (tab.screen != nullptr) {
            built.push_back(tab.screen.get());
        }
    }
    return built;
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
    removePages();
    adw_view_switcher_bar_set_reveal(bar_, TRUE);
    addPages();
    adw_view_stack_set_visible_child_name(stack_, kPageNames[shown]);
    g_signal_handlers_unblock_by_func(stack_, reinterpret_cast<gpointer>(&onVisibleChild), this);
    selectTab(shown);  // makes its screen, which gets the last summary
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
        screen(shownTab_).viewWillDisappear();
        adw_view_stack_page_set_icon_name(tabs_[static_cast<std::size_t>(shownTab_)].page, kTabImages[shownTab_].normal);
    }
    shownTab_ = index;
    adw_view_stack_page_set_icon_name(tabs_[static_cast<std::size_t>(index)].page, kTabImages[index].selected);
    const bool made = builtScreen(index) == nullptr;
    TabScreen& shown = screen(index);  // made the first time its tab is shown
    if (made) {
        focusMadePage(index);
    }
    shown.viewWillAppear();
}

}  // namespace quorvel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FPrimaryMenu.hpp"

#include <adwaita.h>

#include <giomm/menu.h>
#include <giomm/simpleaction.h>
#include <gtkmm/builder.h>
#include <gtkmm/shortcutswindow.h>

#include "platform/Translation.hpp"
#include "ui/gtk/AccessibleText.hpp"

namespace quorvel {

namespace {

constexpr const char* kWebsite = "https://quorvel.org/";
constexpr const char* kIssuePage = "https://quorvel.org/issues";

// The shortcuts the window answers to, in the toolkit's own shortcuts window.
constexpr const char* kShortcutsUi = R"(<?xml version="1.0" encoding="UTF-8"?>
<interface>
  <object class="GtkShortcutsWindow" id="shortcuts">
    <property name="modal">1</property>
    <child>
      <object class="GtkShortcutsSection">
        <property name="section-name">shortcuts</property>
        <child>
          <object class="GtkShortcutsGroup">
            <property name="title" translatable="yes">Tabs</property>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Data</property><property name="accelerator">&lt;Alt&gt;1</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Chart</property><property name="accelerator">&lt;Alt&gt;2</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Locations</property><property name="accelerator">&lt;Alt&gt;3</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Settings</property><property name="accelerator">&lt;Alt&gt;4</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Previous Tab</property><property name="accelerator">&lt;Control&gt;Page_Up</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Next Tab</property><property name="accelerator">&lt;Control&gt;Page_Down</property>
            </object></child>
          </object>
        </child>
        <child>
          <object class="GtkShortcutsGroup">
            <property name="title" translatable="yes">General</property>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Keyboard Shortcuts</property><property name="accelerator">&lt;Control&gt;question F1</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Close Window</property><property name="accelerator">&lt;Control&gt;w</property>
            </object></child>
            <child><object class="GtkShortcutsShortcut">
              <property name="title" translatable="yes">Quit</property><property name="accelerator">&lt;Control&gt;q</property>
            </object></child>
          </object>
        </child>
      </object>
    </child>
  </object>
</interface>
)";

// The shortcuts window's words, marked for the catalogues (the window reads them from the text above).
[[maybe_unused]] constexpr const char* kShortcutTexts[] = {
    N_("Tabs"),     N_("Data"),     N_("Chart"), N_("Locations"),          N_("Settings"),     N_("Previous Tab"),
    N_("Next Tab"), N_("General"), N_("Keyboard Shortcuts"), N_("Close Window"), N_("Quit")};

}  // namespace

FPrimaryMenu::FPrimaryMenu(Gtk::Application& app, Gtk::ApplicationWindow& window)
{
    if (!app.has_action("about")) {
        auto about = Gio::SimpleAction::create("about");
        about->signal_activate().connect([&app](const Glib::VariantBase&) {
            if (Gtk::Window* shown = app.get_active_window()) {
                gtk_window_present(GTK_WINDOW(makeAboutWindow(*shown)));
            }
        });
        app.add_action(about);
    }
    if (Gtk::ShortcutsWindow* shortcuts = makeShortcutsWindow()) {
        window.set_help_overlay(*shortcuts);
    }
    app.set_accels_for_action("win.show-help-overlay", {"<Control>question", "F1"});

    auto menu = Gio::Menu::create();
    menu->append(_("_Keyboard Shortcuts"), "win.show-help-overlay");
    menu->append(_("_About Quorvel"), "app.about");
    button_.set_menu_model(menu);
    button_.set_icon_name("open-menu-symbolic");
    button_.set_primary(true);
    button_.set_tooltip_text(_("Main Menu"));
    AccessibleText::name(button_, _("Main Menu"));
}

Gtk::ShortcutsWindow* FPrimaryMenu::makeShortcutsWindow()
{
    auto builder = Gtk::Builder::create();
    builder->set_translation_domain(Translation::kDomain);
    builder->add_from_string(kShortcutsUi);
    return builder->get_widget<Gtk::ShortcutsWindow>("shortcuts");
}

GtkWidget* FPrimaryMenu::makeAboutWindow(Gtk::Window& parent)
{
    GtkWidget* about = adw_about_window_new();
    AdwAboutWindow* w = ADW_ABOUT_WINDOW(about);
    gtk_window_set_transient_for(GTK_WINDOW(about), parent.gobj());
    gtk_window_set_modal(GTK_WINDOW(about), TRUE);
    adw_about_window_set_application_name(w, "Quorvel");
    adw_about_window_set_application_icon(w, "org.quorvel.Quorvel");
    adw_about_window_set_version(w, QUORVEL_VERSION);
    adw_about_window_set_developer_name(w, "The Quorvel developers");
    adw_about_window_set_comments(w, _("Keep your monthly mobile data plan in view"));
    adw_about_window_set_license_type(w, GTK_LICENSE_GPL_3_0);
    adw_about_window_set_copyright(w, "© 2026 The Quorvel developers");
    adw_about_window_set_website(w, kWebsite);
    adw_about_window_set_issue_url(w, kIssuePage);
    adw_about_window_set_support_url(w, "mailto:support@quorvel.org");
    static const char* developers[] = {"The Quorvel developers", nullptr};
    adw_about_window_set_developers(w, developers);
    // Translators put their names here, one per line; the English text shows no credits.
    const char* translators = _("translator-credits");
    if (std::string_view(translators) != "translator-credits") {
        adw_about_window_set_translator_credits(w, translators);
    }
    return about;
}

}  // namespace quorvel

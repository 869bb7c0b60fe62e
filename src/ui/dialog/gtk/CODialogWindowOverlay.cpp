// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogWindowOverlay.hpp"

#include <adwaita.h>

#include <gtkmm/snapshot.h>

#include "platform/Assert.hpp"
#include "platform/glib/GObjectHandle.hpp"
#include "ui/dialog/gtk/CODialog.hpp"

namespace quorvel {

namespace {

constexpr const char* kHostKey = "quorvel-dialog-host";
constexpr const char* kLayerKey = "quorvel-dialog-layer";

// libadwaita windows keep their content apart from GtkWindow's child.
GtkWidget* windowContent(GtkWindow* window)
{
    if (ADW_IS_APPLICATION_WINDOW(window)) {
        return adw_application_window_get_content(ADW_APPLICATION_WINDOW(window));
    }
    if (ADW_IS_WINDOW(window)) {
        return adw_window_get_content(ADW_WINDOW(window));
    }
    return gtk_window_get_child(window);
}

void setWindowContent(GtkWindow* window, GtkWidget* content)
{
    if (ADW_IS_APPLICATION_WINDOW(window)) {
        adw_application_window_set_content(ADW_APPLICATION_WINDOW(window), content);
    } else if (ADW_IS_WINDOW(window)) {
        adw_window_set_content(ADW_WINDOW(window), content);
    } else {
        gtk_window_set_child(window, content);
    }
}

}  // namespace

CODialogWindowOverlay::CODialogWindowOverlay(CODialog& dialog)
    : Glib::ObjectBase("QuorvelCODialogWindowOverlay"), dialog_(dialog)
{
    g_object_set_data(G_OBJECT(gobj()), kLayerKey, GINT_TO_POINTER(1));
    g_weak_ref_init(&previousFocus_, nullptr);
}

CODialogWindowOverlay::~CODialogWindowOverlay()
{
    detach();
    g_weak_ref_clear(&previousFocus_);
}

Gtk::Overlay& CODialogWindowOverlay::prepareHost(Gtk::Window& window)
{
    GtkWindow* w = window.gobj();
    GtkWidget* content = windowContent(w);
    if (content != nullptr && g_object_get_data(G_OBJECT(content), kHostKey) != nullptr) {
        return *Glib::wrap(GTK_OVERLAY(content));
    }
    auto* host = Gtk::make_managed<Gtk::Overlay>();
    g_object_set_data(G_OBJECT(host->gobj()), kHostKey, GINT_TO_POINTER(1));
    if (content != nullptr) {
        // Held while it moves, so leaving the window does not finalise it.
        GObjectHandle<GtkWidget> keep(GTK_WIDGET(g_object_ref(content)));
        setWindowContent(w, nullptr);
        gtk_overlay_set_child(host->gobj(), content);
    }
    setWindowContent(w, GTK_WIDGET(host->gobj()));
    return *host;
}

void CODialogWindowOverlay::attach(Gtk::Window& window)
{
    QV_REQUIRE(host_ == nullptr, "attach a dialog layer only once; detach it first");
    Gtk::Overlay& host = prepareHost(window);
    // Over another dialog, the focus to return to is the one from before that dialog.
    g_weak_ref_set(&previousFocus_, gtk_root_get_focus(GTK_ROOT(window.gobj())));
    for (Gtk::Widget* c = host.get_first_child(); c != nullptr; c = c->get_next_sibling()) {
        if (auto* other = dynamic_cast<CODialogWindowOverlay*>(c)) {
            GObjectHandle<GObject> earlier(G_OBJECT(g_weak_ref_get(&other->previousFocus_)));
            g_weak_ref_set(&previousFocus_, earlier.get());
            break;
        }
    }
    dialog_.set_parent(*this);
    host.add_overlay(*this);
    host_ = &host;
    blockContent(true);
}

void CODialogWindowOverlay::detach()
{
    if (dialog_.get_parent() == this) {
        dialog_.unparent();
    }
    // Without a parent the host went with its window; nothing is left to restore.
    if (host_ != nullptr && get_parent() == host_) {
        const bool free = blockContent(false);
        host_->remove_overlay(*this);
        if (free) {
            restoreFocus();
        }
    }
    host_ = nullptr;
}

void CODialogWindowOverlay::restoreFocus()
{
    GObjectHandle<GtkWidget> previous(static_cast<GtkWidget*>(g_weak_ref_get(&previousFocus_)));
    if (previous && gtk_widget_get_root(previous.get()) != nullptr) {
        gtk_widget_grab_focus(previous.get());
    }
}

bool CODialogWindowOverlay::isLayer(GtkWidget* widget)
{
    return g_object_get_data(G_OBJECT(widget), kLayerKey) != nullptr;
}

bool CODialogWindowOverlay::blockContent(bool block)
{
    if (!block) {
        for (Gtk::Widget* c = host_->get_first_child(); c != nullptr; c = c->get_next_sibling()) {
            if (c != this && isLayer(c->gobj())) {
                return false;  // another dialog still holds the window
            }
        }
    }
    if (Gtk::Widget* content = host_->get_child()) {
        content->set_can_focus(!block);
    }
    return !block;
}

void CODialogWindowOverlay::setPresentation(double presentation)
{
    presentation_ = presentation;
    set_opacity(presentation);
    queue_allocate();
}

void CODialogWindowOverlay::setDialogTop(std::optional<double> top)
{
    top_ = top;
    queue_allocate();
}

void CODialogWindowOverlay::measure_vfunc(Gtk::Orientation, int, int& minimum, int& natural, int& minimumBaseline,
                                          int& naturalBaseline) const
{
    // The layer takes whatever the content has; it never asks the window to grow.
    minimum = natural = 0;
    minimumBaseline = naturalBaseline = -1;
}

void CODialogWindowOverlay::size_allocate_vfunc(int width, int height, int /*baseline*/)
{
    CODialogRect frame = CODialogLayout::centredFrame(dialog_.presentedSize(), width, height);
    if (top_) {
        frame.y = *top_;
    }
    dialogFrame_ = frame;
    if (dialog_.get_parent() == this) {
        int minimum = 0, natural = 0, b1 = 0, b2 = 0;
        dialog_.measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, b1, b2);
        dialog_.measure(Gtk::Orientation::VERTICAL, -1, minimum, natural, b1, b2);
        // The dialog grows from half size about its centre while the layer fades in.
        const float scale = static_cast<float>(0.5 + 0.5 * presentation_);
        const graphene_point_t centre{static_cast<float>(frame.x + frame.width / 2),
                                      static_cast<float>(frame.y + frame.height / 2)};
        const graphene_point_t back{static_cast<float>(-frame.width / 2), static_cast<float>(-frame.height / 2)};
        GskTransform* t = gsk_transform_translate(nullptr, &centre);
        t = gsk_transform_scale(t, scale, scale);
        t = gsk_transform_translate(t, &back);
        gtk_widget_allocate(GTK_WIDGET(dialog_.gobj()), static_cast<int>(frame.width),
                            static_cast<int>(frame.height), -1, t);
    }
    dialog_.hostAllocated(width, height);
}

void CODialogWindowOverlay::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const int w = get_width();
    const int h = get_height();
    auto cr = snapshot->append_cairo(Gdk::Rectangle(0, 0, w, h));
    dialog_.drawDimmedBackgroundInRect(cr, {0, 0, static_cast<double>(w), static_cast<double>(h)});
    if (dialog_.get_parent() == this) {
        snapshot_child(dialog_, snapshot);
    }
}

bool CODialogWindowOverlay::isOpenWindow(GtkWindow* window)
{
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        GObjectHandle<GObject> item(G_OBJECT(g_list_model_get_item(toplevels, i)));
        if (item.get() == G_OBJECT(window)) {
            return true;
        }
    }
    return false;
}

}  // namespace quorvel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialog.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <glibmm/main.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/root.h>
#include <gtkmm/snapshot.h>

#include "platform/Assert.hpp"
#include "platform/Log.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
#include "ui/dialog/gtk/CODialogPainter.hpp"
#include "ui/dialog/gtk/CODialogTextField.hpp"
#include "ui/dialog/gtk/CODialogWindowOverlay.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

void dialogClassInit(void* klass, void* /*data*/)
{
    gtk_widget_class_set_accessible_role(GTK_WIDGET_CLASS(klass), GTK_ACCESSIBLE_ROLE_ALERT_DIALOG);
}

constexpr double kInset = CODialogLayout::kContentInset;
constexpr double kTitleSize = 18;     // points
constexpr double kSubtitleSize = 14;  // points
constexpr CODialogLayout::Size kFallbackHost{360, 640};

unsigned milliseconds(double seconds)
{
    return static_cast<unsigned>(std::lround(std::max(0.0, seconds) * 1000));
}

// A widget whose own signal is running must outlive the handler, whatever the handler removes.
void keepWidgetUntilIdle(Gtk::Widget& widget)
{
    std::shared_ptr<GObject> hold(G_OBJECT(g_object_ref(widget.gobj())), g_object_unref);
    Glib::signal_idle().connect_once([hold] {});
}

}  // namespace

std::shared_ptr<CODialog> CODialog::dialogWithWindow(Gtk::Window& hostWindow)
{
    return std::make_shared<CODialog>(Passkey{}, hostWindow);
}

CODialog::CODialog(Passkey, Gtk::Window& hostWindow)
    : Glib::ObjectBase("QuorvelCODialog"),
      Glib::ExtraClassInit(dialogClassInit),
      hostWindow_(GTK_WINDOW(g_object_ref(hostWindow.gobj()))),
      presentAnimation_(*this),
      contentAnimation_(*this),
      keyboardAnimation_(*this)
{
    titleFont_ = CODialogPainter::systemFont(*this, kTitleSize, true);
    subtitleFont_ = CODialogPainter::systemFont(*this, kSubtitleSize, false);
    contentView_.set_parent(*this);
    // Escape answers with the cancel button, wherever the focus is inside the dialog.
    auto keys = Gtk::EventControllerKey::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape || cancelIndex_ < 0 || cancelIndex_ >= static_cast<int>(buttons_.size())) {
                return false;
            }
            performButtonAction(*buttons_[static_cast<std::size_t>(cancelIndex_)]);
            return true;
        },
        false);
    add_controller(keys);
    const CODialogLayout::Size host = hostSize();
    const CODialogRect frame = CODialogLayout::defaultDialogFrame(
        host.width, host.height, UIDeviceVersion::isVersion5more(), UIDeviceVersion::isPadInterface());
    presentedSize_ = {frame.width, frame.height};
}

CODialog::~CODialog()
{
    pendingShow_.disconnect();
    pendingHide_.disconnect();
    pendingRelayout_.disconnect();
    presentAnimation_.stop();
    contentAnimation_.stop();
    keyboardAnimation_.stop();
    if (overlay_) {
        overlay_->detach();
        overlay_.reset();
    }
    if (accessory_.view != nullptr && accessory_.view->get_parent() == &contentView_) {
        contentView_.remove(*accessory_.view);
    }
    contentView_.unparent();
}

Gtk::Window& CODialog::hostWindow() const
{
    return *Glib::wrap(hostWindow_.get());
}

// ---- contents ---------------------------------------------------------------------------------

void CODialog::resetLayout()
{
    title_.clear();
    subtitle_.clear();
    dialogStyle_ = kPlain;
    setProgress(0);
    if (customView_ && accessory_.view == customView_.get()) {
        contentView_.remove(*accessory_.view);
        accessory_ = {};
    }
    customView_.reset();
    removeAllControls();
}

void CODialog::removeAllControls()
{
    removeAllTextFields();
    removeAllButtons();
}

void CODialog::removeAllTextFields()
{
    for (CODialogTextField* field : textFields_) {
        contentView_.remove(*field);
    }
    textFields_.clear();
    firstResponder_ = -1;
}

void CODialog::removeAllButtons()
{
    for (CODialogButton* button : buttons_) {
        contentView_.remove(*button);
    }
    buttons_.clear();
    highlightedIndex_ = -1;
    cancelIndex_ = -1;
}

void CODialog::addTextFieldWithPlaceholder(const std::string& placeholder, bool secure)
{
    for (CODialogTextField* field : textFields_) {
        field->setReturnKey(CODialogTextField::ReturnKey::Next);
    }
    auto* field = Gtk::make_managed<CODialogTextField>(*this, placeholder, secure);
    field->setReturnKey(CODialogTextField::ReturnKey::Done);
    field->set_visible(false);  // until the next layout pass places it
    contentView_.put(*field, 0, 0);
    firstResponder_ = static_cast<int>(textFields_.size());
    textFields_.push_back(field);
}

void CODialog::addButtonWithTitle(const std::string& title, Action action, bool highlighted)
{
    const int index = static_cast<int>(buttons_.size());
    if (highlighted) {
        highlightedIndex_ = index;
    }
    auto* button = Gtk::make_managed<CODialogButton>(*this, title, std::move(action), index);
    button->set_visible(false);
    contentView_.put(*button, 0, 0);
    buttons_.push_back(button);
}

std::string CODialog::textForTextFieldAtIndex(std::size_t index) const
{
    QV_REQUIRE(index < textFields_.size(), "textForTextFieldAtIndex needs an index below the number of text fields");
    return textFields_[index]->get_text();
}

void CODialog::setProgress(double progress)
{
    progress_ = std::clamp(progress, 0.0, 1.0);
    if (accessory_.progressBar != nullptr) {
        accessory_.progressBar->set_fraction(progress_);
    }
}

double CODialog::progress() const
{
    const bool bar = accessory_.progressBar != nullptr && dialogStyle_ == kProgress;
    return bar ? accessory_.progressBar->get_fraction() : 0.0;
}

// ---- showing and hiding -----------------------------------------------------------------------

void CODialog::showOrUpdateAnimated(bool animated)
{
    pendingShow_.disconnect();
    pendingShow_ = Glib::signal_timeout().connect(
        [this, animated] {
            pendingShow_ = sigc::connection();
            showOrUpdateAnimatedInternal(animated);
            updateRetention();
            return false;
        },
        milliseconds(batchDelay_));
    updateRetention();
}

void CODialog::showOrUpdateAnimatedInternal(bool animated)
{
    const auto present = [this](double value) {
        if (overlay_) {
            overlay_->setPresentation(value);
        }
    };
    const bool newShow = !overlay_;
    if (newShow && !CODialogWindowOverlay::isOpenWindow(hostWindow_.get())) {
        return;  // the window went while the show was waiting
    }
    if (newShow) {
        overlay_ = std::make_unique<CODialogWindowOverlay>(*this);
        overlay_->attach(hostWindow());
        layoutComponents(false);
        overlay_->setPresentation(0);
        presentAnimation_.run(0, 1, animated, present);
    } else {
        if (hiding_) {  // shown again while fading out: turn back
            presentAnimation_.run(overlay_->presentation(), 1, animated, present);
        }
        layoutComponents(animated);
    }
    hiding_ = false;
    set_can_target(true);
    updateAccessibleTexts();
    focusFirstResponder();
    shownOrUpdated_.emit(newShow);
}

void CODialog::updateAccessibleTexts()
{
    gtk_accessible_update_property(GTK_ACCESSIBLE(gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, title_.c_str(),
                                   GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, subtitle_.c_str(), -1);
    for (CODialogTextField* field : textFields_) {
        const std::string hint = field->get_placeholder_text();
        const std::string name = hint.empty() || hint == title_ ? title_ : title_ + ", " + hint;
        gtk_accessible_update_property(GTK_ACCESSIBLE(field->gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(),
                                       GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, subtitle_.c_str(), -1);
    }
}

void CODialog::hideAnimated(bool animated)
{
    endEditing();
    pendingShow_.disconnect();  // a show still waiting would bring back what is meant to go
    if (overlay_ && (!hiding_ || !animated)) {
        hiding_ = true;
        // The layer still blocks the window while it fades, but the dialog's parts take no input.
        set_can_target(false);
        presentAnimation_.run(
            overlay_->presentation(), 0, animated,
            [this](double value) {
                if (overlay_) {
                    overlay_->setPresentation(value);
                }
            },
            [this] { finishHide(); });
    }
    updateRetention();
}

void CODialog::hideAnimatedAfterDelay(bool animated, double delaySeconds)
{
    pendingHide_.disconnect();
    pendingHide_ = Glib::signal_timeout().connect(
        [this, animated] {
            pendingHide_ = sigc::connection();
            hideAnimated(animated);
            updateRetention();
            return false;
        },
        milliseconds(delaySeconds));
    updateRetention();
}

void CODialog::finishHide()
{
    hiding_ = false;
    contentAnimation_.stop();
    keyboardAnimation_.stop();
    overlay_->detach();
    overlay_.reset();
    contentOnScreen_ = false;
    oldContent_.reset();
    contentFade_ = 1;
    updateRetention();
}

void CODialog::updateRetention()
{
    const bool active = pendingShow_.connected() || pendingHide_.connected() || overlay_ != nullptr;
    if (active && !selfWhileActive_) {
        selfWhileActive_ = shared_from_this();
    } else if (!active && selfWhileActive_) {
        // Let go after the current callback, which may belong to this dialog.
        Glib::signal_idle().connect_once([self = std::exchange(selfWhileActive_, nullptr)] {});
    }
}

void CODialog::keepUntilIdle()
{
    Glib::signal_idle().connect_once([self = shared_from_this()] {});
}

void CODialog::adjustToKeyboardBounds(double keyboardHeight)
{
    const double top = CODialogLayout::keyboardAdjustedTop(hostSize().height, keyboardHeight, presentedSize_.height);
    if (top < 0) {
        char text[96];
        std::snprintf(text, sizeof text, "warning: dialog is clipped, origin negative (%f)", top);
        Log::line(text);
    }
    if (!overlay_) {
        return;
    }
    keyboardAnimation_.run(overlay_->dialogFrame().y, top, true, [this](double value) {
        if (overlay_) {
            overlay_->setDialogTop(value);
        }
    });
}

void CODialog::hostAllocated(int width, int /*height*/)
{
    // A window that changed width gets a dialog laid out for its new width.
    if (overlay_ && !hiding_ && width != laidOutHostWidth_ && !pendingRelayout_.connected()) {
        pendingRelayout_ = Glib::signal_idle().connect([this] {
            pendingRelayout_ = sigc::connection();
            if (overlay_) {
                layoutComponents(false);
            }
            return false;
        });
    }
}

// ---- editing and buttons ----------------------------------------------------------------------

bool CODialog::textFieldShouldReturn(CODialogTextField& field)
{
    keepUntilIdle();
    keepWidgetUntilIdle(field);
    const auto it = std::find(textFields_.begin(), textFields_.end(), &field);
    QV_REQUIRE(it != textFields_.end(), "textFieldShouldReturn takes a field of this dialog");
    if (std::next(it) != textFields_.end()) {
        (*std::next(it))->grab_focus();
        return true;
    }
    endEditing();
    if (highlightedIndex_ >= 0 && highlightedIndex_ < static_cast<int>(buttons_.size())) {
        performButtonAction(*buttons_[highlightedIndex_]);
    }
    return true;
}

void CODialog::performButtonAction(CODialogButton& button)
{
    // A dialog on its way out has been answered; a quick second click or Enter must not answer
    // again (its target would apply the value twice, the second time with no field to read).
    if (hiding_) {
        return;
    }
    keepUntilIdle();
    keepWidgetUntilIdle(button);
    const Action action = button.action();  // a copy: the action may remove the button
    if (action) {
        action();
    }
}

void CODialog::endEditing()
{
    Gtk::Root* root = get_root();
    if (root == nullptr) {
        return;
    }
    Gtk::Widget* focus = root->get_focus();
    if (focus != nullptr && focus->is_ancestor(*this)) {
        root->unset_focus();
    }
}

void CODialog::focusFirstResponder()
{
    Gtk::Root* root = get_root();
    if (root == nullptr) {
        return;
    }
    if (firstResponder_ >= 0 && firstResponder_ < static_cast<int>(textFields_.size())) {
        textFields_[firstResponder_]->grab_focus();
        firstResponder_ = -1;
    }
    Gtk::Widget* focus = root->get_focus();
    if (focus != nullptr && focus->is_ancestor(*this)) {
        return;
    }
    // Keys must not reach the content under the dialog.
    if (!buttons_.empty()) {
        buttons_[highlightedIndex_ >= 0 ? highlightedIndex_ : 0]->grab_focus();
    } else {
        root->unset_focus();
    }
}

// ---- layout -----------------------------------------------------------------------------------

CODialogLayout::Size CODialog::hostSize() const
{
    if (overlay_ && overlay_->get_width() > 0) {
        return {static_cast<double>(overlay_->get_width()), static_cast<double>(overlay_->get_height())};
    }
    auto* window = GTK_WIDGET(hostWindow_.get());
    if (gtk_widget_get_width(window) > 0) {
        return {static_cast<double>(gtk_widget_get_width(window)), static_cast<double>(gtk_widget_get_height(window))};
    }
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(hostWindow_.get(), &width, &height);
    return width > 0 && height > 0 ? CODialogLayout::Size{static_cast<double>(width), static_cast<double>(height)}
                                   : kFallbackHost;
}

double CODialog::dialogWidthForHost() const
{
    const CODialogLayout::Size host = hostSize();
    return CODialogLayout::defaultDialogFrame(host.width, host.height, UIDeviceVersion::isVersion5more(),
                                              UIDeviceVersion::isPadInterface())
        .width;
}

Glib::RefPtr<Pango::Layout> CODialog::textLayout(const std::string& text, const Pango::FontDescription& font) const
{
    auto layout = Glib::wrap(gtk_widget_create_pango_layout(const_cast<GtkWidget*>(gobj()), text.c_str()));
    layout->set_font_description(font);
    return layout;
}

double CODialog::textHeight(const std::string& text, const Pango::FontDescription& font, double width) const
{
    if (text.empty()) {
        return 0;
    }
    auto layout = textLayout(text, font);
    layout->set_width(static_cast<int>(width * PANGO_SCALE));
    layout->set_wrap(Pango::WrapMode::WORD_CHAR);
    int w = 0;
    int h = 0;
    layout->get_pixel_size(w, h);
    return h;
}

std::optional<CODialogLayout::Size> CODialog::makeAccessoryView()
{
    if (accessory_.view != nullptr && accessory_.view->get_parent() == &contentView_) {
        contentView_.remove(*accessory_.view);
    }
    accessory_ = CODialogAccessory::make(*this, customView_, progress_);
    return accessory_.size;
}

void CODialog::layoutComponents(bool animated)
{
    const double width = dialogWidthForHost();
    laidOutHostWidth_ = hostSize().width;
    const double inner = CODialogLayout::innerWidth(width);
    CODialogLayout::Input input;
    input.dialogWidth = width;
    input.titleHeight = textHeight(title_, titleFont_, inner);
    input.subtitleHeight = textHeight(subtitle_, subtitleFont_, inner);
    input.accessory = makeAccessoryView();
    input.fieldCount = static_cast<int>(textFields_.size());
    input.buttonCount = static_cast<int>(buttons_.size());
    const CODialogLayout::Result result = CODialogLayout::layoutComponents(input);

    const bool transition = animated && contentOnScreen_;
    if (transition) {
        startContentTransition();
    }
    placeControls(result);
    layout_ = result;
    const CODialogLayout::Size target = result.dialogSize();
    if (transition) {
        contentAnimation_.run(
            0, 1, true,
            [this, target](double t) {
                contentFade_ = t;
                presentedSize_ = {std::lerp(fromSize_.width, target.width, t), std::lerp(fromSize_.height, target.height, t)};
                queue_resize();
            },
            [this] {
                oldContent_.reset();
                contentFade_ = 1;
                queue_draw();
            });
    } else {
        contentAnimation_.stop();
        oldContent_.reset();
        contentFade_ = 1;
        presentedSize_ = target;
    }
    contentOnScreen_ = true;
    queue_resize();
    queue_draw();
}

void CODialog::startContentTransition()
{
    fromSize_ = presentedSize_;
    GObjectHandle<GdkPaintable> live(gtk_widget_paintable_new(GTK_WIDGET(contentView_.gobj())));
    oldContent_.reset(gdk_paintable_get_current_image(live.get()));
}

void CODialog::placeControls(const CODialogLayout::Result& layout)
{
    const auto place = [this](Gtk::Widget& widget, const CODialogRect& r) {
        widget.set_size_request(static_cast<int>(std::lround(r.width)), static_cast<int>(std::lround(r.height)));
        if (widget.get_parent() == &contentView_) {
            contentView_.move(widget, r.x - kInset, r.y - kInset);
        } else {
            contentView_.put(widget, r.x - kInset, r.y - kInset);
        }
        widget.set_visible(true);
        widget.queue_draw();
    };
    if (accessory_.view != nullptr) {
        place(*accessory_.view, layout.accessoryRect);
    }
    for (std::size_t i = 0; i < textFields_.size(); ++i) {
        place(*textFields_[i], layout.fieldRects[i]);
    }
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        place(*buttons_[i], layout.buttonRects[i]);
    }
    contentView_.set_size_request(static_cast<int>(std::lround(layout.contentFrame.width)),
                                  static_cast<int>(std::lround(layout.contentFrame.height)));
}

// ---- GTK widget -------------------------------------------------------------------------------

void CODialog::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural, int& minimumBaseline,
                             int& naturalBaseline) const
{
    const double size = orientation == Gtk::Orientation::HORIZONTAL ? presentedSize_.width : presentedSize_.height;
    minimum = natural = static_cast<int>(std::ceil(size));
    minimumBaseline = naturalBaseline = -1;
}

void CODialog::size_allocate_vfunc(int, int, int)
{
    int minW = 0, natW = 0, minH = 0, natH = 0, b1 = 0, b2 = 0;
    contentView_.measure(Gtk::Orientation::HORIZONTAL, -1, minW, natW, b1, b2);
    contentView_.measure(Gtk::Orientation::VERTICAL, -1, minH, natH, b1, b2);
    const graphene_point_t origin{static_cast<float>(kInset), static_cast<float>(kInset)};
    gtk_widget_allocate(GTK_WIDGET(contentView_.gobj()), minW, minH, -1, gsk_transform_translate(nullptr, &origin));
}

void CODialog::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const int w = get_width();
    const int h = get_height();
    // The panel's shadow reaches past the bounds.
    auto cr = snapshot->append_cairo(Gdk::Rectangle(-static_cast<int>(kInset), -static_cast<int>(kInset),
                                                    w + 2 * static_cast<int>(kInset), h + 2 * static_cast<int>(kInset)));
    CODialogPainter::drawPanelUnderlay(cr, {0, 0, static_cast<double>(w), static_cast<double>(h)});
    drawDialogBackgroundInRect(cr, {0, 0, static_cast<double>(w), static_cast<double>(h)});
    drawTitleInRect(cr, layout_.titleRect, false);
    drawTitleInRect(cr, layout_.subtitleRect, true);

    const graphene_point_t origin{static_cast<float>(kInset), static_cast<float>(kInset)};
    if (oldContent_) {
        snapshot->push_opacity(1 - contentFade_);
        gtk_snapshot_save(snapshot->gobj());
        gtk_snapshot_translate(snapshot->gobj(), &origin);
        gdk_paintable_snapshot(oldContent_.get(), snapshot->gobj(), gdk_paintable_get_intrinsic_width(oldContent_.get()),
                               gdk_paintable_get_intrinsic_height(oldContent_.get()));
        gtk_snapshot_restore(snapshot->gobj());
        snapshot->pop();
    }
    if (contentFade_ < 1) {
        snapshot->push_opacity(contentFade_);
    }
    snapshot_child(contentView_, snapshot);
    if (contentFade_ < 1) {
        snapshot->pop();
    }
}

// ---- drawing ----------------------------------------------------------------------------------

void CODialog::drawButtonInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect,
                                const std::string& title, bool highlighted, bool down) const
{
    CODialogPainter::drawButton(cr, rect, textLayout(title, titleFont_), highlighted, down);
}

void CODialog::drawTitleInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect,
                               bool isSubtitle) const
{
    const std::string& text = isSubtitle ? subtitle_ : title_;
    if (!text.empty()) {
        CODialogPainter::drawTitle(cr, rect, textLayout(text, isSubtitle ? subtitleFont_ : titleFont_));
    }
}

}  // namespace quorvel

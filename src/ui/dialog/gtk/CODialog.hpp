// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gdk/gdk.h>
#include <gtkmm/fixed.h>
#include <glibmm/extraclassinit.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>
#include <pangomm/fontdescription.h>

#include "platform/glib/GObjectHandle.hpp"
#include "ui/dialog/gtk/CODialogAccessory.hpp"
#include "ui/dialog/gtk/CODialogAnimation.hpp"
#include "ui/dialog/CODialogLayout.hpp"
#include "ui/dialog/gtk/CODialogPainter.hpp"

namespace quorvel {

class CODialogButton;
class CODialogTextField;
class CODialogWindowOverlay;

// The application's own modal dialog: a dark glossy panel with a title, a message, an optional
// accessory, numeric text fields and a row of buttons, drawn by hand and shown over a dimmed
// layer that covers the host window. Made only through dialogWithWindow; while it is on screen
// (or about to be) it keeps itself alive, so a caller may drop its pointer at any time.
class CODialog : public Gtk::Widget, public Glib::ExtraClassInit, public std::enable_shared_from_this<CODialog> {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    enum Style { kPlain = 0, kActivity = 1, kProgress = 2, kCheckMark = 3, kCross = 4, kCustom = 5 };
    using Action = std::function<void()>;

    static std::shared_ptr<CODialog> dialogWithWindow(Gtk::Window& hostWindow);
    CODialog(Passkey, Gtk::Window& hostWindow);
    ~CODialog() override;
    CODialog(const CODialog&) = delete;
    CODialog& operator=(const CODialog&) = delete;

    // Contents. Changes show after the next showOrUpdateAnimated.
    void resetLayout();
    void removeAllControls();
    void removeAllTextFields();
    void removeAllButtons();
    // A numeric field; earlier fields then move on with Enter, this last one ends editing.
    // It takes the keyboard focus.
    void addTextFieldWithPlaceholder(const std::string& placeholder, bool secure);
    void addButtonWithTitle(const std::string& title, Action action, bool highlighted = false);
    std::string textForTextFieldAtIndex(std::size_t index) const;
    // The button whose action Escape runs; none (-1) until set, and after removeAllButtons.
    void setCancelButtonIndex(int index) { cancelIndex_ = index; }
    int cancelButtonIndex() const { return cancelIndex_; }

    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& title() const { return title_; }
    void setSubtitle(std::string subtitle) { subtitle_ = std::move(subtitle); }
    const std::string& subtitle() const { return subtitle_; }
    void setDialogStyle(int style) { dialogStyle_ = style; }
    int dialogStyle() const { return dialogStyle_; }
    void setCustomView(std::shared_ptr<Gtk::Widget> view) { customView_ = std::move(view); }
    const std::shared_ptr<Gtk::Widget>& customView() const { return customView_; }
    void setBatchDelay(double seconds) { batchDelay_ = seconds; }
    double batchDelay() const { return batchDelay_; }
    void setProgress(double progress);
    double progress() const;
    void setTitleFont(const Pango::FontDescription& font) { titleFont_ = font; }
    const Pango::FontDescription& titleFont() const { return titleFont_; }
    void setSubtitleFont(const Pango::FontDescription& font) { subtitleFont_ = font; }
    const Pango::FontDescription& subtitleFont() const { return subtitleFont_; }

    int highlightedIndex() const { return highlightedIndex_; }
    const std::vector<CODialogTextField*>& textFields() const { return textFields_; }
    const std::vector<CODialogButton*>& buttons() const { return buttons_; }
    const CODialogLayout::Result& layout() const { return layout_; }
    Gtk::Window& hostWindow() const;
    // The accessory made for the current style by the last layout pass, if any.
    Gtk::Widget* accessoryView() const { return accessory_.view; }

    // Shows the dialog (or lays a shown one out again) after batchDelay; calls in between
    // merge into one.
    void showOrUpdateAnimated(bool animated);
    // Ends editing and takes the dialog away; a show still waiting is dropped.
    void hideAnimated(bool animated);
    void hideAnimatedAfterDelay(bool animated, double delaySeconds);
    // On screen: a dimmed layer is up (also while it fades out).
    bool isShown() const { return overlay_ != nullptr; }
    // Emitted each time a show or an update has run, with true for a new show.
    sigc::signal<void(bool)>& signalShownOrUpdated() { return shownOrUpdated_; }
    // Moves the dialog's top to the middle of the height a keyboard of that height leaves.
    void adjustToKeyboardBounds(double keyboardHeight);
    // Enter in a field: on to the next one; on the last, end editing and press the highlighted
    // button. Always true.
    bool textFieldShouldReturn(CODialogTextField& field);

    // Drawing, in the caller's Cairo user space.
    void drawDialogBackgroundInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect) const
    {
        CODialogPainter::drawDialogBackground(cr, rect);
    }
    void drawButtonInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect, const std::string& title,
                          bool highlighted, bool down) const;
    // What a screen reader finds of the drawn texts: the title as the dialog's name, the message
    // as its description, and each field named after the question it answers.
    void updateAccessibleTexts();
    void drawTitleInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect, bool isSubtitle) const;
    void drawSymbolInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect) const
    {
        CODialogPainter::drawSymbol(cr, rect, dialogStyle_);
    }
    void drawTextFieldInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect) const
    {
        CODialogPainter::drawTextField(cr, rect);
    }
    void drawDimmedBackgroundInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect) const
    {
        CODialogPainter::drawDimmedBackground(cr, rect);
    }
    void drawFocusRingInRect(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect) const
    {
        CODialogPainter::drawFocusRing(cr, rect);
    }

    // For the dialog's own parts: the size the dialog has on screen right now, a button's
    // click, and the layer's report of the space it covers.
    CODialogLayout::Size presentedSize() const { return presentedSize_; }
    void performButtonAction(CODialogButton& button);
    void hostAllocated(int width, int height);

protected:
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    void showOrUpdateAnimatedInternal(bool animated);
    void finishHide();
    void layoutComponents(bool animated);
    void placeControls(const CODialogLayout::Result& layout);
    std::optional<CODialogLayout::Size> makeAccessoryView();
    void startContentTransition();
    double textHeight(const std::string& text, const Pango::FontDescription& font, double width) const;
    Glib::RefPtr<Pango::Layout> textLayout(const std::string& text, const Pango::FontDescription& font) const;
    CODialogLayout::Size hostSize() const;
    double dialogWidthForHost() const;
    void endEditing();
    void focusFirstResponder();
    void updateRetention();
    void keepUntilIdle();

    GObjectHandle<GtkWindow> hostWindow_;
    CODialogLayout::Result layout_;
    std::shared_ptr<Gtk::Widget> customView_;
    int dialogStyle_ = kPlain;
    std::string title_;
    std::string subtitle_;
    double batchDelay_ = 0;
    double progress_ = 0;
    Pango::FontDescription titleFont_;
    Pango::FontDescription subtitleFont_;
    int highlightedIndex_ = -1;
    int cancelIndex_ = -1;

    Gtk::Fixed contentView_;
    CODialogAccessory accessory_;  // its view is owned by contentView_ (or is customView_)
    std::vector<CODialogTextField*> textFields_;  // owned by contentView_
    std::vector<CODialogButton*> buttons_;        // owned by contentView_
    int firstResponder_ = -1;

    std::unique_ptr<CODialogWindowOverlay> overlay_;
    bool hiding_ = false;
    bool contentOnScreen_ = false;
    CODialogLayout::Size presentedSize_;
    CODialogLayout::Size fromSize_;
    double laidOutHostWidth_ = 0;
    double contentFade_ = 1;  // 0..1 while a new content replaces the old one
    GObjectHandle<GdkPaintable> oldContent_;
    CODialogAnimation presentAnimation_;
    CODialogAnimation contentAnimation_;
    CODialogAnimation keyboardAnimation_;

    sigc::connection pendingShow_;
    sigc::connection pendingHide_;
    sigc::connection pendingRelayout_;
    std::shared_ptr<CODialog> selfWhileActive_;
    sigc::signal<void(bool)> shownOrUpdated_;
};

}  // namespace quorvel

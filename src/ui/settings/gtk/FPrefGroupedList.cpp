// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefGroupedList.hpp"

#include "platform/Translation.hpp"

#include <adwaita.h>

#include "platform/Assert.hpp"
#include "ui/settings/PrefTexts.hpp"

namespace quorvel {

namespace {

constexpr int kHeaderHeight = 36;
constexpr int kPhoneInset = 10;
constexpr int kTabletWidth = 680;  // the tablet row pictures' width
constexpr const char* kChosen = "qv-chosen";

}  // namespace

FPrefGroupedList::FPrefGroupedList(bool tablet) : tablet_(tablet)
{
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_vexpand(true);
    column_ = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
    column_->set_margin_top(tablet ? 24 : 8);
    column_->set_margin_bottom(20);
    column_->set_margin_start(kPhoneInset);
    column_->set_margin_end(kPhoneInset);
    // Phones: the full width less the insets; tablets: centred at the row pictures' width.
    auto* clamp = Gtk::manage(Glib::wrap(GTK_WIDGET(adw_clamp_new())));
    adw_clamp_set_maximum_size(ADW_CLAMP(clamp->gobj()), kTabletWidth + 2 * kPhoneInset);
    adw_clamp_set_tightening_threshold(ADW_CLAMP(clamp->gobj()), kTabletWidth + 2 * kPhoneInset);
    adw_clamp_set_child(ADW_CLAMP(clamp->gobj()), GTK_WIDGET(column_->gobj()));
    scroller_.set_child(*clamp);
}

int FPrefGroupedList::addSection(const std::string& header, Header style, const std::string& footer, int footerHeight)
{
    const int number = static_cast<int>(sections_.size());
    Section section;
    section.box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
    if (style != Header::None) {
        section.header = Gtk::make_managed<Gtk::Label>(Translation::tr(header));
        section.header->add_css_class("qv-pref-header");
        if (style == Header::Reset) {
            section.header->add_css_class("qv-reset-header");
        }
        section.header->set_xalign(0);
        section.header->set_valign(Gtk::Align::END);
        section.header->set_margin_start(10);
        section.header->set_margin_bottom(6);
        section.header->set_size_request(-1, kHeaderHeight - 6);
        section.box->append(*section.header);
    }
    section.list = Gtk::make_managed<Gtk::ListBox>();
    section.list->add_css_class("qv-pref-group");
    // Chosen rows are marked here: a list's own selection would follow the keyboard focus.
    section.list->set_selection_mode(Gtk::SelectionMode::NONE);
    section.list->set_activate_on_single_click(true);
    section.list->signal_row_activated().connect([this, number](Gtk::ListBoxRow* row) { activated(number, row); });
    section.box->append(*section.list);

    section.footer = Gtk::make_managed<Gtk::Label>(Translation::tr(footer));
    section.footer->add_css_class("qv-pref-footer");
    if (tablet_) {
        section.footer->add_css_class("qv-tablet");
    }
    section.footer->set_xalign(0);
    section.footer->set_valign(Gtk::Align::START);
    section.footer->set_wrap(true);
    section.footer->set_margin_start(10);
    section.footer->set_margin_end(10);
    section.footer->set_margin_top(footer.empty() ? 0 : 6);
    section.footer->set_visible(!footer.empty());
    auto* footerBox = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
    footerBox->set_size_request(-1, footerHeight);
    footerBox->append(*section.footer);
    section.box->append(*footerBox);
    // Sections without a footer keep the usual gap from the next caption.
    section.box->set_margin_bottom(footerHeight == 0 ? 10 : 0);

    column_->append(*section.box);
    sections_.push_back(section);
    return number;
}

FPrefTableRow& FPrefGroupedList::addRow(int section, const std::string& text, const std::string& icon,
                                        FPrefTableRow::Accessory accessory)
{
    QV_REQUIRE(section >= 0 && section < sectionCount(), "addRow: add the section before its rows");
    Section& s = sections_[static_cast<std::size_t>(section)];
    auto* row = Gtk::make_managed<FPrefTableRow>(text, icon, accessory, tablet_);
    s.list->append(*row);
    s.rows.push_back(row);
    const int count = static_cast<int>(s.rows.size());
    for (int r = 0; r < count; ++r) {
        s.rows[static_cast<std::size_t>(r)]->setBackgroundName(PrefTexts::getBgImageforIndexPath(r, count, tablet_));
    }
    return *row;
}

FPrefTableRow& FPrefGroupedList::row(int section, int row)
{
    QV_REQUIRE(section >= 0 && section < sectionCount() && row >= 0 && row < rowCount(section),
               "row: ask only for rows that were added");
    return *sections_[static_cast<std::size_t>(section)].rows[static_cast<std::size_t>(row)];
}

int FPrefGroupedList::rowCount(int section) const
{
    QV_REQUIRE(section >= 0 && section < sectionCount(), "rowCount: ask only for sections that were added");
    return static_cast<int>(sections_[static_cast<std::size_t>(section)].rows.size());
}

void FPrefGroupedList::activated(int section, Gtk::ListBoxRow* row)
{
    const auto& rows = sections_[static_cast<std::size_t>(section)].rows;
    const auto it = std::find(rows.begin(), rows.end(), row);
    if (it == rows.end()) {
        return;
    }
    const int index = static_cast<int>(it - rows.begin());
    selectRow(section, index);
    if (onSelect) {
        onSelect(section, index);
    }
}

void FPrefGroupedList::selectRow(int section, int row)
{
    FPrefTableRow& chosen = this->row(section, row);
    deselectAll();
    chosen.add_css_class(kChosen);
    selected_ = std::pair{section, row};
}

void FPrefGroupedList::deselectAll()
{
    if (selected_) {
        row(selected_->first, selected_->second).remove_css_class(kChosen);
        selected_.reset();
    }
}

std::vector<std::string> FPrefGroupedList::texts() const
{
    std::vector<std::string> out;
    for (const Section& s : sections_) {
        if (s.header != nullptr) {
            out.push_back(s.header->get_text());
        }
        for (const FPrefTableRow* r : s.rows) {
            out.push_back(r->text());
        }
        if (!s.footer->get_text().empty()) {
            out.push_back(s.footer->get_text());
        }
    }
    return out;
}

}  // namespace quorvel

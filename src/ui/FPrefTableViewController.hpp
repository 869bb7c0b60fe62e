#pragma once
#include <memory>

#include <gtkmm/box.h>

#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

namespace quorvel {

// Tab screen "Settings" (being built).
class FPrefTableViewController final : public TabScreen {
public:
    explicit FPrefTableViewController(ScreenContext& context);
    Gtk::Widget& widget() override { return root_; }
    std::string title() const override { return "Settings"; }

private:
    ScreenContext& context_;
    Gtk::Box root_;
};

}  // namespace quorvel
